// The nodes of the tracks of a KOR3 document: ZR tracks, the audio tracks with their WAV parts,
// and the aux records.
#pragma once

#include "formats/kor3/ReaderNode.h"
#include "model/Aux.h"
#include "model/WAVPart.h"
#include "model/WAVTrack.h"
#include "model/ZRTrack.h"

namespace Kor3 {

/// A ZR track, created at the first child with an empty part list and added to the sequence;
/// its values apply as they arrive; its parts are sorted at the end.
class CZRZRTrackNode : public AZRKor3Node {
public:
    CZRZRTrackNode(AZRXmlParser* parser, AZRXmlNode* parent, CZRKorDocument* document,
                   CZRNodeList* tracks)
        : AZRKor3Node(parser, parent, document)
        , tracks_(tracks) {}

protected:
    bool startStructured(const ZRXmlStartTag& tag) override;
    CZRZRTrack* track() const { return track_; }

private:
    bool begin() override;
    std::size_t findValue(std::u16string_view name) const override;
    void takeRowValue(std::size_t row, const CZRXmlValue& value) override;
    void finish() override { sortList(track_->partList()); }

    CZRNodeList* tracks_;
    CZRZRTrack* track_ = nullptr;
};

/// An audio track of the sequence (the SE or the karaoke track): adds its WAV parts and sorts
/// them at the end.
class CZRWAVTrackNode final : public AZRKor3Node {
public:
    CZRWAVTrackNode(AZRXmlParser* parser, AZRXmlNode* parent, CZRKorDocument* document,
                    CZRWAVTrack* track)
        : AZRKor3Node(parser, parent, document)
        , track_(track) {}

private:
    bool startStructured(const ZRXmlStartTag& tag) override;
    void finish() override { sortList(track_->wavPartList()); }

    CZRWAVTrack* track_;
};

using CZRSETrackNode = CZRWAVTrackNode;
using CZRKaraokeTrackNode = CZRWAVTrackNode;

/// A WAV part, created at the first child and added to its audio track; values apply as they
/// arrive.
class CZRWAVPartNode final : public AZRKor3Node {
public:
    CZRWAVPartNode(AZRXmlParser* parser, AZRXmlNode* parent, CZRKorDocument* document,
                   CZRNodeList* parts)
        : AZRKor3Node(parser, parent, document)
        , parts_(parts) {}

private:
    bool begin() override;
    std::size_t findValue(std::u16string_view name) const override;
    void takeRowValue(std::size_t row, const CZRXmlValue& value) override;

    CZRNodeList* parts_;
    CZRWAVPart* part_ = nullptr;
};

/// An aux record, created at the first child and added to the aux list; its ID and content
/// replace the record's strings as they arrive.
class CZRAuxNode final : public AZRKor3Node {
public:
    CZRAuxNode(AZRXmlParser* parser, AZRXmlNode* parent, CZRKorDocument* document,
               CZRNodeList* auxes)
        : AZRKor3Node(parser, parent, document)
        , auxes_(auxes) {}

private:
    bool begin() override;
    std::size_t findValue(std::u16string_view name) const override;
    void takeRowValue(std::size_t row, const CZRXmlValue& value) override;

    CZRNodeList* auxes_;
    CZRAux* aux_ = nullptr;
};

} // namespace Kor3
