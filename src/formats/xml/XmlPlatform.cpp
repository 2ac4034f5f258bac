#include "formats/xml/XmlPlatform.h"

#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/XMLUni.hpp>

namespace xc = XERCES_CPP_NAMESPACE;

namespace kor {

std::mutex& xmlPlatformLock() {
    static std::mutex lock;
    return lock;
}

CZRXmlPlatformUse::CZRXmlPlatformUse() {
    std::scoped_lock guard(xmlPlatformLock());
    xc::XMLPlatformUtils::Initialize(xc::XMLUni::fgXercescDefaultLocale);
}

CZRXmlPlatformUse::~CZRXmlPlatformUse() {
    std::scoped_lock guard(xmlPlatformLock());
    xc::XMLPlatformUtils::Terminate();
}

} // namespace kor
