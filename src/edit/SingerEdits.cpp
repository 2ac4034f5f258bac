#include "edit/SingerEdits.h"

#include "edit/EditRecords.h"
#include "edit/PartEventEdits.h"

namespace kor {

namespace {

struct Singers {
    using Event = CZRMusicalSinger;
    using Value = ZRSingerValue;
    using ElementRecord = CZREditMusicalSinger;
    using ListRecord = CZREditMusicalSingerList;
    static constexpr std::uint32_t kDuplicated = ZR_E_SINGERS_ARE_DUPLICATED;
    static constexpr bool kHasHead = true;

    static std::uint32_t check(const EditSession& session, const CZRNodeList&, const Value& value,
                               bool positioned) {
        if (positioned && value.posTick < 0)
            return outOfRange(session, ZR_E_INVALID_SINGER_POSITION, value.posTick, 0, kNoLimit);
        return checkVVoice(session, value.vBS, value.vPC);
    }
    static void assign(Event& singer, const Value& value, bool positioned) {
        ZRMusicalSingerValues& values = singer.values();
        if (positioned) values.posTick = value.posTick;
        values.vBS = value.vBS;
        values.vPC = value.vPC;
    }
    static ZRMusicalSingerValues valuesOf(const Value& value) {
        return {value.posTick, value.vBS, value.vPC};
    }
    // The part keeps a singer from its start; without one of its own it sings with the voice
    // new parts get.
    static void resetHead(Event& singer) {
        const auto [vBS, vPC] = defaultSinger();
        singer.values().vBS = vBS;
        singer.values().vPC = vPC;
    }
};

} // namespace

std::uint32_t updateSinger(EditSession& session, std::uint32_t singerID,
                           const ZRSingerValue& value) {
    return updateEvent<Singers>(session, singerID, value);
}

std::uint32_t moveSinger(EditSession& session, std::uint32_t singerID, const ZRSingerValue& value) {
    return moveEvent<Singers>(session, singerID, value);
}

std::uint32_t insertSinger(EditSession& session, std::uint32_t listID, const ZRSingerValue& value) {
    return insertEvent<Singers>(session, listID, value);
}

std::uint32_t deleteSinger(EditSession& session, std::uint32_t singerID) {
    return deleteEvent<Singers>(session, singerID);
}

} // namespace kor
