// A fresh temporary directory per test, removed with everything in it.
#pragma once

#include "platform/files.h"

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
    // name may hold "/" between folders; the path has the platform's separator.
    std::string File(std::string name) const {
        for (char& c : name)
            if (c == '/')
                c = platform::kSeparator;
        return path_ + platform::kSeparator + name;
    }

private:
    std::string path_;
};

// Whole file as bytes ("" if missing), and writing bytes, without the code under test.
std::string Slurp(const std::string& path);
void Spit(const std::string& path, const std::string& bytes);

} // namespace tessaro::test
