// The XML reader's process-wide platform, and the memory of one parser.
#pragma once

#include <xercesc/framework/MemoryManager.hpp>

#include <cstddef>

namespace kor {

/// Starts the XML platform once for the life of the process; later calls only answer. False
/// when it could not be started (memory ran out): it is not tried again, as a half-started
/// platform cannot be started over, and every XML read then fails cleanly.
bool startXmlPlatform();

/// The memory of one XML parser and everything it reads. The reader leaves blocks behind when
/// memory runs out in the middle of a document (it skips its clean-up so as not to allocate
/// again), so the blocks are kept on a list and those still there when the parser's memory
/// ends are freed with it. It must outlive the parser that uses it.
class CZRXmlParseMemory final : public XERCES_CPP_NAMESPACE::MemoryManager {
public:
    CZRXmlParseMemory() = default;
    CZRXmlParseMemory(const CZRXmlParseMemory&) = delete;
    CZRXmlParseMemory& operator=(const CZRXmlParseMemory&) = delete;
    ~CZRXmlParseMemory() override;

    /// Throws the reader's own out-of-memory exception when memory runs out, as it expects.
    void* allocate(XMLSize_t size) override;
    void deallocate(void* block) override;
    /// Exceptions are caught after their parser is gone, so they use the process's memory.
    MemoryManager* getExceptionMemoryManager() override;

private:
    struct Header {
        Header* prev;
        Header* next;
    };
    static constexpr std::size_t kHeaderSize = (sizeof(Header) + alignof(std::max_align_t) - 1) /
                                               alignof(std::max_align_t) *
                                               alignof(std::max_align_t);

    Header blocks_{&blocks_, &blocks_};
};

} // namespace kor
