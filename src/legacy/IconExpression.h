// An expression articulation of a voice.
#pragma once

#include "legacy/IconObject.h"

/// An articulation that shapes the expression of a note; the vibrato kinds derive from it.
class CIconExpression : public CIconObject {
public:
    CIconExpression() = default;
    CIconExpression(const CIconExpression&) = default;
    CIconExpression& operator=(const CIconExpression&) = default;
    ~CIconExpression() override = default;
};
