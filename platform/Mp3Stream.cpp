#include "platform/Mp3Stream.h"

#include <algorithm>
#include <cstring>
#include <mpg123.h>
#include <mutex>

namespace {

// mpg123_init is needed once per process (a no-op on new versions).
void initLibraryOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { mpg123_init(); });
}

mpg123_ssize_t readFromMemory(void* handle, void* buffer, size_t count)
{
    auto* source = static_cast<Mp3Stream::Source*>(handle);
    const std::size_t available = source->size - source->position;
    const std::size_t taken = std::min(count, available);
    if (taken > 0)
        std::memcpy(buffer, source->data + source->position, taken);
    source->position += taken;
    return static_cast<mpg123_ssize_t>(taken);
}

off_t seekInMemory(void* handle, off_t offset, int whence)
{
    auto* source = static_cast<Mp3Stream::Source*>(handle);
    off_t base = 0;
    if (whence == SEEK_CUR)
        base = static_cast<off_t>(source->position);
    else if (whence == SEEK_END)
        base = static_cast<off_t>(source->size);
    const off_t target = base + offset;
    if (target < 0 || target > static_cast<off_t>(source->size))
        return -1;
    source->position = static_cast<std::size_t>(target);
    return target;
}

constexpr long kRate = 44100;
constexpr std::uint64_t kBytesPerSampleFrame = 4;

}  // namespace

Mp3Stream::~Mp3Stream()
{
    close();
}

void Mp3Stream::close()
{
    if (handle_ != nullptr) {
        mpg123_close(handle_);
        mpg123_delete(handle_);
        handle_ = nullptr;
    }
}

bool Mp3Stream::open(const unsigned char* data, std::size_t size)
{
    close();
    if (data == nullptr || size == 0)
        return false;
    initLibraryOnce();
    int error = MPG123_OK;
    handle_ = mpg123_new(nullptr, &error);
    if (handle_ == nullptr)
        return false;
    source_ = {data, size, 0};
    // Quiet, added to the default flags rather than replacing them: the
    // defaults hold MPG123_GAPLESS, which trims the encoder's and decoder's
    // delay so that sample 0 is the music's first sample.
    mpg123_param(handle_, MPG123_ADD_FLAGS, MPG123_QUIET, 0.0);
    // Output is always 44100 Hz stereo 16-bit, whatever the file says.
    mpg123_format_none(handle_);
    mpg123_format(handle_, kRate, MPG123_STEREO, MPG123_ENC_SIGNED_16);
    if (mpg123_replace_reader_handle(handle_, readFromMemory, seekInMemory, nullptr) != MPG123_OK ||
        mpg123_open_handle(handle_, &source_) != MPG123_OK || mpg123_scan(handle_) != MPG123_OK) {
        close();
        return false;
    }
    const off_t samples = mpg123_length(handle_);
    if (samples <= 0) {
        close();
        return false;
    }
    lengthBytes_ = static_cast<std::uint64_t>(samples) * kBytesPerSampleFrame;
    return true;
}

std::size_t Mp3Stream::read(unsigned char* out, std::size_t bytes)
{
    if (handle_ == nullptr)
        return 0;
    std::size_t total = 0;
    while (total < bytes) {
        size_t done = 0;
        const int result = mpg123_read(handle_, out + total, bytes - total, &done);
        total += done;
        if (result == MPG123_NEW_FORMAT)
            continue;
        if (result != MPG123_OK || done == 0)
            break;
    }
    return total - total % kBytesPerSampleFrame;
}

void Mp3Stream::rewind()
{
    if (handle_ != nullptr)
        mpg123_seek(handle_, 0, SEEK_SET);
}
