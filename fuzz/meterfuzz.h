#pragma once
// What the meter data fuzz targets share: a check that aborts (so libFuzzer
// reports it) and the input bytes as the readers' byte source.

#include "meterdata/meterinput.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

inline void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

class MemorySource : public ByteSource {
public:
    MemorySource(const uint8_t* data, size_t size) : data_(data), left_(size) {}
    qint64 Read(char* buffer, qint64 max) override {
        const auto n = static_cast<size_t>(std::min<qint64>(max, static_cast<qint64>(left_)));
        std::memcpy(buffer, data_, n);
        data_ += n;
        left_ -= n;
        return static_cast<qint64>(n);
    }

private:
    const uint8_t* data_;
    size_t left_;
};
