#include "formats/xml/XmlPlatform.h"

#include <xercesc/util/OutOfMemoryException.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/XMLException.hpp>
#include <xercesc/util/XMLUni.hpp>

#include <mutex>
#include <new>

namespace xc = XERCES_CPP_NAMESPACE;

namespace kor {

bool startXmlPlatform() {
    // Started once and never ended: ending it while another thread reads would pull the
    // platform from under that reader, and starting it per document cost every load its set-up.
    static std::once_flag once;
    static bool started = false;
    std::call_once(once, [] {
        try {
            xc::XMLPlatformUtils::Initialize(xc::XMLUni::fgXercescDefaultLocale);
            started = true;
        } catch (const xc::XMLException&) {
        } catch (const xc::OutOfMemoryException&) {
        } catch (const std::bad_alloc&) {
        }
    });
    return started;
}

CZRXmlParseMemory::~CZRXmlParseMemory() {
    for (Header* block = blocks_.next; block != &blocks_;) {
        Header* next = block->next;
        ::operator delete(block);
        block = next;
    }
}

void* CZRXmlParseMemory::allocate(XMLSize_t size) {
    void* raw = ::operator new(kHeaderSize + size, std::nothrow);
    if (raw == nullptr) throw xc::OutOfMemoryException();
    auto* block = static_cast<Header*>(raw);
    block->prev = &blocks_;
    block->next = blocks_.next;
    blocks_.next->prev = block;
    blocks_.next = block;
    return static_cast<char*>(raw) + kHeaderSize;
}

void CZRXmlParseMemory::deallocate(void* memory) {
    if (memory == nullptr) return;
    auto* block = reinterpret_cast<Header*>(static_cast<char*>(memory) - kHeaderSize);
    block->prev->next = block->next;
    block->next->prev = block->prev;
    ::operator delete(block);
}

xc::MemoryManager* CZRXmlParseMemory::getExceptionMemoryManager() {
    return xc::XMLPlatformUtils::fgMemoryManager;
}

} // namespace kor
