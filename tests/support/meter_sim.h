#pragma once

#include <string>
#include <vector>

namespace dorvel::test {

// A running dorvel-meter-sim: started with its options, its pseudo-terminal
// read from the first output line; ended by SIGTERM on destruction, or when
// the test program dies.
class MeterSim {
  public:
    MeterSim(const std::string& program, const std::vector<std::string>& options);
    ~MeterSim();
    MeterSim(const MeterSim&) = delete;
    MeterSim& operator=(const MeterSim&) = delete;

    const std::string& device() const { return device_; }
    bool ok() const { return !device_.empty(); }
    // Closes the simulator's standard input, as a script's </dev/null would.
    void CloseInput();
    // True while the simulator has not ended.
    bool Running();

  private:
    int pid_ = -1;
    int stdinFd_ = -1;
    std::string device_;
};

}  // namespace dorvel::test
