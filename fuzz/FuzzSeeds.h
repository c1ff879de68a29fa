#pragma once
// Seed inputs for the harnesses, generated in code. When TESSARY_FUZZ_SEEDS names a folder
// (run-fuzzer.sh sets it on the first pass), each seed is written there as one file.

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace tessary::fuzz {

inline void WriteSeed(const std::string& name, const std::vector<unsigned char>& bytes)
{
    const char* dir = std::getenv("TESSARY_FUZZ_SEEDS");
    if (!dir || !*dir)
        return;
    std::ofstream out(std::string(dir) + "/" + name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline void WriteSeed(const std::string& name, const std::string& text)
{
    WriteSeed(name, std::vector<unsigned char>(text.begin(), text.end()));
}

} // namespace tessary::fuzz
