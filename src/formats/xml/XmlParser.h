// The part of a format parser that the element nodes talk to.
#pragma once

#include "formats/xml/XmlNode.h"
#include "formats/xml/XmlText.h"

#include <cstddef>
#include <cstdint>
#include <new>
#include <string>
#include <string_view>
#include <utility>

/// What nodes see of the parser: the current node (borrowed; null while no known element is
/// open), the starting of nodes, and the first failure to build an object, which ends the load
/// with that code even when the document itself is valid.
class AZRXmlParser {
public:
    AZRXmlParser() = default;
    virtual ~AZRXmlParser() = default;
    AZRXmlParser(const AZRXmlParser&) = delete;
    AZRXmlParser& operator=(const AZRXmlParser&) = delete;

    AZRXmlNode* currentNode() const { return current_; }

    /// Builds `Node` from `parent` and `args` as the node of the element that is starting, in
    /// the room the parser keeps for that element, and makes it the current node. It lives until
    /// its element ends.
    template <class Node, class... Args> Node& startNode(AZRXmlNode* parent, Args&&... args) {
        static_assert(alignof(Node) <= alignof(std::max_align_t));
        auto* node =
            new (roomForNode(sizeof(Node))) Node(this, parent, std::forward<Args>(args)...);
        node->name_ = placeNode(*node);
        current_ = node;
        return *node;
    }

    /// `text` as wide text, in a buffer of the parser's that the next call reuses: for the
    /// attributes of start tags, which are read often and kept seldom.
    const std::wstring& wideText(std::u16string_view text) {
        kor::assignUtf16(wideText_, text.data(), text.size());
        return wideText_;
    }

    /// Records that a node could not build or link an object; the first code is kept.
    void reportBuildFailure(std::uint32_t code) {
        if (buildFailure_ == 0) buildFailure_ = code;
    }
    std::uint32_t buildFailure() const { return buildFailure_; }

protected:
    void setCurrentNode(AZRXmlNode* node) { current_ = node; }
    void resetBuildFailure() { buildFailure_ = 0; }

private:
    /// At least `size` bytes, aligned for any node, for the node of the element that is starting.
    virtual void* roomForNode(std::size_t size) = 0;
    /// Gives the element that is starting its node, built in that room; answers the element's
    /// name, which stays put while the element is open.
    virtual std::u16string_view placeNode(AZRXmlNode& node) = 0;

    AZRXmlNode* current_ = nullptr;
    std::uint32_t buildFailure_ = 0;
    std::wstring wideText_;
};
