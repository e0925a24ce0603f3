#pragma once

#include <cstddef>
#include <string_view>

namespace arcavio::platform {

// A private, writable copy of some bytes that ends right where memory nobody may touch begins,
// so that a library reading past the end of its input crashes at once rather than reading on
// into whatever follows.
class GuardedCopy {
  public:
    explicit GuardedCopy(std::string_view bytes);
    ~GuardedCopy();
    GuardedCopy(const GuardedCopy&) = delete;
    GuardedCopy& operator=(const GuardedCopy&) = delete;

    unsigned char* data() { return data_; }
    std::size_t size() const { return size_; }

  private:
    unsigned char* data_ = nullptr;
    std::size_t size_ = 0;
    void* mapping_ = nullptr;
    std::size_t mappingSize_ = 0;
};

} // namespace arcavio::platform
