// The part of a format parser that the element nodes talk to.
#pragma once

#include <cstdint>

class AZRXmlNode;

/// What nodes see of the parser: the current node (borrowed; null while no known element is
/// open), and the first failure to build an object, which ends the load with that code even
/// when the document itself is valid.
class AZRXmlParser {
public:
    AZRXmlParser() = default;
    virtual ~AZRXmlParser() = default;
    AZRXmlParser(const AZRXmlParser&) = delete;
    AZRXmlParser& operator=(const AZRXmlParser&) = delete;

    AZRXmlNode* currentNode() const { return current_; }
    void setCurrentNode(AZRXmlNode* node) { current_ = node; }

    /// Records that a node could not build or link an object; the first code is kept.
    void reportBuildFailure(std::uint32_t code) {
        if (buildFailure_ == 0) buildFailure_ = code;
    }
    std::uint32_t buildFailure() const { return buildFailure_; }

protected:
    void resetBuildFailure() { buildFailure_ = 0; }

private:
    AZRXmlNode* current_ = nullptr;
    std::uint32_t buildFailure_ = 0;
};
