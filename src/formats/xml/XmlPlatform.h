// The XML platform as the readers share it: started by the first reader, ended by the last.
#pragma once

#include <mutex>

namespace kor {

/// The lock every reader holds while it starts or ends the XML platform. The platform counts its
/// users in plain process-wide state, so readers on different threads take turns at it, or one
/// thread's end could free what another thread's reader is using.
std::mutex& xmlPlatformLock();

/// One use of the XML platform, for as long as the object lives: the constructor starts the
/// platform (throwing the platform's exception when it cannot), the destructor ends this use.
class CZRXmlPlatformUse {
public:
    CZRXmlPlatformUse();
    ~CZRXmlPlatformUse();
    CZRXmlPlatformUse(const CZRXmlPlatformUse&) = delete;
    CZRXmlPlatformUse& operator=(const CZRXmlPlatformUse&) = delete;
};

} // namespace kor
