#include "model/KorRoot.h"

#include "model/ContainerOps.h"

#include <korman/ErrorCodes.h>

std::uint32_t CZRKorRoot::validate() const {
    return sequence_ == nullptr ? ZR_E_INVALID_SEQUENCE : 0;
}

std::uint32_t CZRKorRoot::correct(CZRObjectTable&, const ZRCreateContext&) {
    return kor::unrepairable(validate());
}
