#pragma once
// What the fuzz targets share: the readers' messages are dropped (nearly every
// input earns one), the fuzzer's bytes become a text, and a broken promise
// stops the run as a crash would, so that libFuzzer keeps the input.

#include "core/Message.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace qex::fuzz {

inline void DropMessages()
{
    SetMessageSink([](const std::string&) {});
}

inline std::string Text(const std::uint8_t* data, std::size_t size)
{
    return std::string(reinterpret_cast<const char*>(data), size);
}

inline void Require(bool promise, const char* what)
{
    if (!promise) {
        std::fprintf(stderr, "broken promise: %s\n", what);
        std::abort();
    }
}

// True when the text holds no "nan" or "inf" as printf writes them; words
// such as "Information" do not count.
inline bool IsFiniteText(const std::string& text)
{
    auto letter = [&text](std::size_t i) { return std::isalpha(static_cast<unsigned char>(text[i])) != 0; };
    for (std::size_t i = 0; i + 3 <= text.size(); ++i) {
        std::string word;
        for (std::size_t k = i; k < i + 3; ++k)
            word += static_cast<char>(std::tolower(static_cast<unsigned char>(text[k])));
        if ((word == "nan" || word == "inf") && (i == 0 || !letter(i - 1)) && (i + 3 == text.size() || !letter(i + 3)))
            return false;
    }
    return true;
}

} // namespace qex::fuzz
