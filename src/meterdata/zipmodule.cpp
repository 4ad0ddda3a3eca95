// The zip module: libzip behind the calls of ZipFunctions.
#include "meterdata/zipfunctions.h"

#include <zip.h>

namespace {

void* Open(const char* path) {
    int error = 0;
    return zip_open(path, ZIP_RDONLY, &error);
}

void Close(void* archive) {
    zip_discard(static_cast<zip_t*>(archive));
}

std::int64_t Count(void* archive) {
    return zip_get_num_entries(static_cast<zip_t*>(archive), 0);
}

bool Entry(void* archive, std::uint64_t index, const char** name, std::uint64_t* size,
           bool* sizeKnown) {
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(static_cast<zip_t*>(archive), index, 0, &st) != 0 || st.name == nullptr) {
        return false;
    }
    *name = st.name;
    *sizeKnown = (st.valid & ZIP_STAT_SIZE) != 0;
    *size = st.size;
    return true;
}

void* OpenEntry(void* archive, std::uint64_t index) {
    return zip_fopen_index(static_cast<zip_t*>(archive), index, 0);
}

std::int64_t Read(void* entry, char* buffer, std::uint64_t max) {
    return zip_fread(static_cast<zip_file_t*>(entry), buffer, max);
}

const char* EntryError(void* entry) {
    return zip_file_strerror(static_cast<zip_file_t*>(entry));
}

void CloseEntry(void* entry) {
    zip_fclose(static_cast<zip_file_t*>(entry));
}

const ZipFunctions functions{Open, Close, Count, Entry, OpenEntry, Read, EntryError, CloseEntry};

} // namespace

extern "C" __attribute__((visibility("default"))) const ZipFunctions* VoltiskZipFunctions() {
    return &functions;
}
