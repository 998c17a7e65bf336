#include "analytics/sdk/RecordQueue.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <memory>

#include "analytics/sdk/TextRules.h"
#include "platform/Files.h"

namespace usage_analytics {

namespace {

using FilePointer = std::unique_ptr<FILE, decltype(&std::fclose)>;

FilePointer OpenDataFile(const std::string& path, const char* mode) {
    return FilePointer(win32::OpenFileA(path.c_str(), mode), &std::fclose);
}

bool ReadLine(FILE* file, std::string* line) {
    line->clear();
    int c = 0;
    while ((c = std::fgetc(file)) != EOF) {
        if (c == '\n') {
            return true;
        }
        *line += static_cast<char>(c);
    }
    return !line->empty();
}

bool IsRecordLine(std::string& line) {
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return line.size() >= 2 && line.front() == '{' && line.back() == '}';
}

}  // namespace

RecordQueue::RecordQueue(std::string dataFilePath, std::string serverUrl)
    : dataFilePath_(std::move(dataFilePath)), sender_(std::move(serverUrl)) {}

RecordQueue::~RecordQueue() {
    std::lock_guard<std::mutex> guard(recordsLock_);
    if (loadPending_) {
        LoadLocked();
    }
    DumpLocked();
}

void RecordQueue::Add(std::string record) {
    std::lock_guard<std::mutex> guard(recordsLock_);
    records_.push_back(std::move(record));
    if (records_.size() > kCapacity) {
        records_.pop_front();
    }
}

bool RecordQueue::Flush() {
    LoadIfPending();
    std::lock_guard<std::mutex> flushGuard(flushLock_);
    std::vector<std::string> batch;
    {
        std::lock_guard<std::mutex> guard(recordsLock_);
        while (!records_.empty() && batch.size() < kBatchSize) {
            batch.push_back(std::move(records_.front()));
            records_.pop_front();
        }
    }
    if (batch.empty()) {
        return true;
    }
    if (SendBatch(batch)) {
        return true;
    }
    std::lock_guard<std::mutex> guard(recordsLock_);
    const std::size_t room = kCapacity - std::min(kCapacity, records_.size());
    const std::size_t kept = std::min(room, batch.size());
    records_.insert(records_.begin(), std::make_move_iterator(batch.end() - kept),
                    std::make_move_iterator(batch.end()));
    return false;
}

bool RecordQueue::FlushAll() {
    LoadIfPending();
    while (Size() > 0) {
        if (!Flush()) {
            return false;
        }
    }
    return true;
}

std::size_t RecordQueue::Size() {
    std::lock_guard<std::mutex> guard(recordsLock_);
    return records_.size();
}

std::vector<std::string> RecordQueue::Snapshot() {
    std::lock_guard<std::mutex> guard(recordsLock_);
    return {records_.begin(), records_.end()};
}

bool RecordQueue::SendBatch(const std::vector<std::string>& batch) {
    std::string text = "[";
    for (std::size_t i = 0; i < batch.size(); ++i) {
        if (i > 0) {
            text += ',';
        }
        text += batch[i];
    }
    text += ']';
    try {
        return sender_.Send(text);
    } catch (const std::exception& e) {
        Complain(std::string("Exception when flush failed: (") + e.what() + ") ");
        return false;
    }
}

void RecordQueue::LoadIfPending() {
    std::lock_guard<std::mutex> guard(recordsLock_);
    if (loadPending_) {
        LoadLocked();
    }
}

void RecordQueue::LoadLocked() {
    loadPending_ = false;
    const std::size_t room = kCapacity - std::min(kCapacity, records_.size());
    if (room > 0) {
        if (FilePointer file = OpenDataFile(dataFilePath_, "rb")) {
            std::deque<std::string> saved;
            std::string line;
            while (ReadLine(file.get(), &line)) {
                if (IsRecordLine(line)) {
                    saved.push_back(line);
                    if (saved.size() > room) {
                        saved.pop_front();
                    }
                }
            }
            records_.insert(records_.begin(), std::make_move_iterator(saved.begin()),
                            std::make_move_iterator(saved.end()));
        }
    }
    // The records now live in memory; the file must not hand them out a second time. Only a
    // file that exists is emptied, so that a run without saved records leaves none behind.
    if (OpenDataFile(dataFilePath_, "rb")) {
        OpenDataFile(dataFilePath_, "wb");
    }
}

void RecordQueue::DumpLocked() {
    FilePointer file = OpenDataFile(dataFilePath_, "wb");
    if (!file) {
        return;
    }
    for (const std::string& record : records_) {
        std::fputs(record.c_str(), file.get());
        std::fputc('\n', file.get());
    }
}

}  // namespace usage_analytics
