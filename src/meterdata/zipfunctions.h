#pragma once
// What the zip module (libvoltisk_zip.so) hands the meter data readers: the
// few archive calls they need, over opaque handles, so that the zip library
// and the libraries behind it load only when a zip archive is first read.
// Plain C types only: no exception and no Qt type crosses the module's edge.

#include <cstdint>

struct ZipFunctions {
    // The archive, read-only; null when it cannot be opened.
    void* (*open)(const char* path);
    void (*close)(void* archive);
    std::int64_t (*count)(void* archive);
    // The entry's UTF-8 name and, when `*sizeKnown`, its expanded size; false
    // when the entry cannot be looked at.
    bool (*entry)(void* archive, std::uint64_t index, const char** name, std::uint64_t* size,
                  bool* sizeKnown);
    // One entry's expanded bytes; null when it cannot be opened.
    void* (*openEntry)(void* archive, std::uint64_t index);
    // Bytes read (0 at the end), or -1 with entryError telling why.
    std::int64_t (*read)(void* entry, char* buffer, std::uint64_t max);
    const char* (*entryError)(void* entry);
    void (*closeEntry)(void* entry);
};

using VoltiskZipFunctionsFn = const ZipFunctions* (*)();
