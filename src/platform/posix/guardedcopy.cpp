#include "platform/guardedcopy.h"

#include <cstring>
#include <new>
#include <sys/mman.h>
#include <unistd.h>

namespace arcavio::platform {

GuardedCopy::GuardedCopy(std::string_view bytes) : size_(bytes.size())
{
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    const std::size_t dataPages = (bytes.size() + page - 1) / page;
    mappingSize_ = (dataPages + 1) * page;
    void* mapping = mmap(nullptr, mappingSize_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping == MAP_FAILED)
        throw std::bad_alloc();
    mapping_ = mapping;
    auto* base = static_cast<unsigned char*>(mapping);
    if (mprotect(base + dataPages * page, page, PROT_NONE) != 0) {
        munmap(mapping_, mappingSize_);
        throw std::bad_alloc();
    }
    data_ = base + dataPages * page - bytes.size();
    if (!bytes.empty())
        std::memcpy(data_, bytes.data(), bytes.size());
}

GuardedCopy::~GuardedCopy()
{
    munmap(mapping_, mappingSize_);
}

} // namespace arcavio::platform
