#pragma once

#include <string>

namespace testing_support {

// A fresh directory under /tmp, removed with everything in it on destruction.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    void write(const std::string& name, const std::string& contents) const;
    std::string read(const std::string& name) const;

  private:
    std::string path_;
};

// Runs a block with the working directory changed, restoring it afterwards.
class ScopedWorkingDir {
  public:
    explicit ScopedWorkingDir(const std::string& path);
    ~ScopedWorkingDir();
    ScopedWorkingDir(const ScopedWorkingDir&) = delete;
    ScopedWorkingDir& operator=(const ScopedWorkingDir&) = delete;

  private:
    std::string previous_;
};

}  // namespace testing_support
