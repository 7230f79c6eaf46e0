#pragma once

#include <string>
#include <string_view>

namespace dorvel::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string File(std::string_view name) const;
    void Write(std::string_view name, std::string_view bytes) const;
    std::string Read(std::string_view name) const;

  private:
    std::string path_;
};

// Runs a command line through the shell; returns the exit status and fills `out`.
int RunCommand(const std::string& command, std::string* out = nullptr);

}  // namespace dorvel::test
