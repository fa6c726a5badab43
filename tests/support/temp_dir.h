// A fresh temporary directory per test, removed with everything in it.
#pragma once

#include <filesystem>
#include <string>

namespace tessaro::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// Whole file as bytes ("" if missing), and writing bytes, without the code under test.
std::string Slurp(const std::string& path);
void Spit(const std::string& path, const std::string& bytes);

} // namespace tessaro::test
