// Servers the download tests start on 127.0.0.1: the project's fault-injecting server and a
// stock nginx, each in a folder of its own and stopped with the object.
#pragma once

#include <sys/types.h>
#include <string>
#include <vector>

namespace DownloadTest {

class ServerProcess {
  public:
    ~ServerProcess();
    int Port() const { return port_; }

  protected:
    // Starts the program with args as its argument vector (args[0] its name); its standard
    // input stays open so that it can notice our death.
    bool Spawn(const std::string& program, std::vector<std::string> args);
    // Starts args[0] from the search path, reads the port its first line announces and waits
    // until it listens there.
    bool SpawnAnnouncingPort(const std::vector<std::string>& args);
    // Reads "PORT <n>" from the child's first output line.
    bool ReadPortLine();
    // Waits until something accepts connections on port_.
    bool WaitUntilListening();

    pid_t pid_ = -1;
    int port_ = 0;
    int stdinFd_ = -1;
    int stdoutFd_ = -1;
};

struct FaultServerOptions {
    std::string root;
    std::string logPath;
    std::string certificate;  // PEM; TLS when not empty
    std::string key;
};

class FaultServer : public ServerProcess {
  public:
    explicit FaultServer(const FaultServerOptions& options);
    std::string Url(const std::string& path) const;  // path begins with "/"

  private:
    bool tls_;
};

class NginxServer : public ServerProcess {
  public:
    // Serves root; serverDirectives are added to its server block.
    NginxServer(const std::string& folder, const std::string& root,
                const std::string& serverDirectives);
    std::string Url(const std::string& path) const;
};

// A port nobody listens on at the moment.
int FreePort();

// A throw-away self-signed certificate for 127.0.0.1 in folder: cert.pem and key.pem.
bool MakeCertificate(const std::string& folder);

}  // namespace DownloadTest
