// The nodes of the mixer of a KOR3 document: its units and their VST plug-ins.
#pragma once

#include "formats/kor3/ReaderNode.h"
#include "model/KaraokeUnit.h"
#include "model/MasterUnit.h"
#include "model/Mixer.h"
#include "model/SEUnit.h"
#include "model/VstPlugin.h"
#include "model/ZRUnit.h"

namespace Kor3 {

/// The sequence's mixer: hands its existing master, SE and karaoke units to their nodes, adds
/// one ZR unit per zrUnit and sorts the ZR unit list at the end.
class CZRMixerNode final : public AZRKor3Node {
public:
    CZRMixerNode(AZRXmlParser* parser, AZRXmlNode* parent, CZRKorDocument* document,
                 CZRMixer* mixer)
        : AZRKor3Node(parser, parent, document)
        , mixer_(mixer) {}

private:
    bool startStructured(const ZRXmlStartTag& tag) override;
    void finish() override { sortList(mixer_->zrUnitList()); }

    CZRMixer* mixer_;
};

/// The master unit: output device, return level and volume as they arrive; its insert and
/// send-return plug-ins.
class CZRMasterUnitNode final : public AZRKor3Node {
public:
    CZRMasterUnitNode(AZRXmlParser* parser, AZRXmlNode* parent, CZRKorDocument* document,
                      CZRMasterUnit* unit)
        : AZRKor3Node(parser, parent, document)
        , unit_(unit) {}

private:
    std::size_t findValue(std::u16string_view name) const override;
    bool startStructured(const ZRXmlStartTag& tag) override;
    void takeRowValue(std::size_t row, const CZRXmlValue& value) override;

    CZRMasterUnit* unit_;
};

/// Base of the nodes of the units whose vstPlugin children fill one insert plug-in list.
class AZRPluginUnitNode : public AZRKor3Node {
public:
    using AZRKor3Node::AZRKor3Node;

protected:
    /// The unit's insert plug-in list.
    virtual CZRNodeList* pluginList() const = 0;

private:
    bool startStructured(const ZRXmlStartTag& tag) final;
};

/// A ZR unit, created at the first child with an empty plug-in list and added to the mixer.
/// Its values apply as they arrive; a solo other than 0 or 1, a pan outside 0 to 128 and a
/// volume outside -898 to 60 leave the unit's value as it was.
class CZRZRUnitNode final : public AZRPluginUnitNode {
public:
    CZRZRUnitNode(AZRXmlParser* parser, AZRXmlNode* parent, CZRKorDocument* document,
                  CZRNodeList* units)
        : AZRPluginUnitNode(parser, parent, document)
        , units_(units) {}

private:
    bool begin() override;
    std::size_t findValue(std::u16string_view name) const override;
    CZRNodeList* pluginList() const override { return unit_->vstList(); }
    void takeRowValue(std::size_t row, const CZRXmlValue& value) override;

    CZRNodeList* units_;
    CZRZRUnit* unit_ = nullptr;
};

/// A unit the mixer holds from the start, whose values come from one table and whose vstPlugin
/// children fill its insert plug-in list: the SE unit (a ZR unit's values and checks except the
/// track number) and the karaoke unit (input gain, mute and solo as read; a volume outside -898
/// to 60 is left out).
template <class Unit> class TZRFixedUnitNode final : public AZRPluginUnitNode {
public:
    TZRFixedUnitNode(AZRXmlParser* parser, AZRXmlNode* parent, CZRKorDocument* document, Unit* unit)
        : AZRPluginUnitNode(parser, parent, document)
        , unit_(unit) {}

private:
    std::size_t findValue(std::u16string_view name) const override;
    CZRNodeList* pluginList() const override { return unit_->vstList(); }
    void takeRowValue(std::size_t row, const CZRXmlValue& value) override;

    Unit* unit_;
};

using CZRSEUnitNode = TZRFixedUnitNode<CZRSEUnit>;
using CZRKaraokeUnitNode = TZRFixedUnitNode<CZRKaraokeUnit>;

/// A VST plug-in (vstPlugin or vstPluginSR), built at the end and appended to `list`. Its
/// parameter values are the val elements read (inside the vstParamVal wrapper, which has no
/// node), and its parameter count is their number, whatever vstParamNum said.
class CZRVstPluginNode final : public AZRKor3Node {
public:
    CZRVstPluginNode(AZRXmlParser* parser, AZRXmlNode* parent, CZRKorDocument* document,
                     CZRNodeList* list)
        : AZRKor3Node(parser, parent, document)
        , list_(list) {}

private:
    std::size_t findValue(std::u16string_view name) const override;
    void takeRowValue(std::size_t row, const CZRXmlValue& value) override;
    void finish() override;

    CZRNodeList* list_;
    ZRVstPluginValues values_;
};

} // namespace Kor3
