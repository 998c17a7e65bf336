#include "integration/download/support/ServerProcess.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>
#include <vector>

extern char** environ;

namespace DownloadTest {

namespace {

bool CanConnect(int port) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool connected = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return connected;
}

}  // namespace

ServerProcess::~ServerProcess() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    if (stdinFd_ >= 0) {
        close(stdinFd_);
    }
    if (stdoutFd_ >= 0) {
        close(stdoutFd_);
    }
}

bool ServerProcess::Spawn(const std::string& program, std::vector<std::string> args) {
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    int input[2];
    int output[2];
    if (pipe(input) != 0 || pipe(output) != 0) {
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input[0], 0);
    posix_spawn_file_actions_adddup2(&actions, output[1], 1);
    posix_spawn_file_actions_addclose(&actions, input[1]);
    posix_spawn_file_actions_addclose(&actions, output[0]);
    const int spawned =
        posix_spawnp(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(input[0]);
    close(output[1]);
    stdinFd_ = input[1];
    stdoutFd_ = output[0];
    if (spawned != 0) {
        pid_ = -1;
        return false;
    }
    return true;
}

bool ServerProcess::SpawnAnnouncingPort(const std::vector<std::string>& args) {
    return Spawn(args[0], args) && ReadPortLine() && WaitUntilListening();
}

bool ServerProcess::ReadPortLine() {
    std::string line;
    char c = 0;
    while (read(stdoutFd_, &c, 1) == 1 && c != '\n') {
        line += c;
    }
    if (line.rfind("PORT ", 0) != 0) {
        return false;
    }
    port_ = std::atoi(line.c_str() + 5);
    return port_ > 0;
}

bool ServerProcess::WaitUntilListening() {
    for (int i = 0; i < 200; ++i) {
        if (CanConnect(port_)) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return false;
}

FaultServer::FaultServer(const FaultServerOptions& options) : tls_(!options.certificate.empty()) {
    std::vector<std::string> args = {"python3", QUILLON_FAULT_SERVER, "--root", options.root};
    if (!options.logPath.empty()) {
        args.insert(args.end(), {"--log", options.logPath});
    }
    if (tls_) {
        args.insert(args.end(), {"--cert", options.certificate, "--key", options.key});
    }
    SpawnAnnouncingPort(args);
}

std::string FaultServer::Url(const std::string& path) const {
    return std::string(tls_ ? "https" : "http") + "://127.0.0.1:" + std::to_string(port_) + path;
}

NginxServer::NginxServer(const std::string& folder, const std::string& root,
                         const std::string& serverDirectives) {
    port_ = FreePort();
    const std::string config = folder + "/nginx.conf";
    std::ofstream(config) << "daemon off;\n"
                             "master_process off;\n"
                             "worker_processes 1;\n"
                             "pid "
                          << folder
                          << "/nginx.pid;\n"
                             "error_log "
                          << folder
                          << "/error.log;\n"
                             "events { worker_connections 64; }\n"
                             "http {\n"
                             "  access_log off;\n"
                             "  default_type application/octet-stream;\n"
                             "  client_body_temp_path "
                          << folder
                          << "/body;\n"
                             "  proxy_temp_path "
                          << folder
                          << "/proxy;\n"
                             "  fastcgi_temp_path "
                          << folder
                          << "/fastcgi;\n"
                             "  uwsgi_temp_path "
                          << folder
                          << "/uwsgi;\n"
                             "  scgi_temp_path "
                          << folder
                          << "/scgi;\n"
                             "  server {\n"
                             "    listen 127.0.0.1:"
                          << port_
                          << ";\n"
                             "    root "
                          << root << ";\n"
                          << serverDirectives << "\n  }\n}\n";
    const std::vector<std::string> args = {"nginx", "-p", folder + "/", "-c", config};
    const std::string program = access("/usr/sbin/nginx", X_OK) == 0 ? "/usr/sbin/nginx" : "nginx";
    if (Spawn(program, args)) {
        WaitUntilListening();
    }
}

std::string NginxServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

int FreePort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    close(fd);
    return ntohs(address.sin_port);
}

bool MakeCertificate(const std::string& folder) {
    const std::string command =
        "openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj /CN=127.0.0.1 "
        "-addext subjectAltName=IP:127.0.0.1 -keyout '" +
        folder + "/key.pem' -out '" + folder + "/cert.pem' >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

}  // namespace DownloadTest
