// The tracker's event log. Logging stays switched off: the file only has to exist.
#pragma once

#include <string>

namespace zoren::usage {

class TrackLogger {
  public:
    virtual ~TrackLogger() = default;
    virtual const std::wstring& path() const = 0;
};

class NativeTrackLogger : public TrackLogger {
  public:
    // Creates the file, empty, when it does not exist.
    explicit NativeTrackLogger(std::wstring path);
    const std::wstring& path() const override { return path_; }

  private:
    const std::wstring path_;
};

}  // namespace zoren::usage
