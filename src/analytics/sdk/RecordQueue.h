// The bounded queue of serialized records waiting for delivery, and the data file that
// carries them from one run to the next.
#pragma once

#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "analytics/sdk/RecordSender.h"

namespace usage_analytics {

class RecordQueue {
  public:
    static constexpr std::size_t kCapacity = 1024;
    static constexpr std::size_t kBatchSize = 30;

    // The data file is read at the first flush (or at closing) and written at closing;
    // its path is in the ANSI code page and may be written with "\\".
    RecordQueue(std::string dataFilePath, std::string serverUrl);
    // Closing: the queue, with whatever the data file still held, goes to the data file.
    ~RecordQueue();

    RecordQueue(const RecordQueue&) = delete;
    RecordQueue& operator=(const RecordQueue&) = delete;

    // Appends at the back; a full queue drops its oldest record.
    void Add(std::string record);

    // One batch of up to 30 records from the front. A failed batch goes back to the front as
    // far as there is room, newest records first. True for a sent batch or an empty queue.
    bool Flush();

    // Batch after batch until the queue is empty (true) or a batch fails (false).
    bool FlushAll();

    std::size_t Size();
    std::vector<std::string> Snapshot();

  private:
    void LoadIfPending();
    void LoadLocked();
    void DumpLocked();
    bool SendBatch(const std::vector<std::string>& batch);

    const std::string dataFilePath_;
    RecordSender sender_;
    std::mutex flushLock_;  // one flush (take, send, put back) at a time; taken before recordsLock_
    std::mutex recordsLock_;
    std::deque<std::string> records_;  // guarded by recordsLock_; oldest at the front
    bool loadPending_ = true;          // guarded by recordsLock_
};

}  // namespace usage_analytics
