#include "formats/xml/XmlPlatform.h"

#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/XMLUni.hpp>

namespace xc = XERCES_CPP_NAMESPACE;

namespace kor {

namespace {

// Initialized before any code runs, so it is also destroyed after every object a host made: a
// manager that is a static object of the host ends its use of the platform among the exit
// handlers and still finds the lock.
constinit std::mutex gPlatformLock;

} // namespace

std::mutex& xmlPlatformLock() {
    return gPlatformLock;
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
