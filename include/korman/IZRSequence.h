// The read interface of the sequence: the song document with its tracks, mixer and VVoices.
#pragma once

#include <korman/IZRKorObject.h>
#include <korman/IZRNodeList.h>
#include <korman/IZRZRTrack.h>

#include <string>

class IZRMasterTrack;
class IZRWAVTrack;
class IZRMixer;
class IZRUnManaged;

/// The song: its format version and vendor, master track, singing tracks, the two audio tracks,
/// the VVoice table, the mixer and the host's unmanaged data. Every pointer is borrowed and null
/// when the child is missing.
class KORMAN_API IZRSequence : public virtual IZRKorObject {
public:
    /// The vendor name written into files. The reference is valid while the sequence lives.
    virtual const std::wstring& getVender() const = 0;
    /// The format version, 7 to 15 characters in a valid document.
    virtual const std::wstring& getVersion() const = 0;
    /// The master track: song name, resolution, pre-measure, time signatures and tempos.
    virtual IZRMasterTrack* getMasterTrack() const = 0;
    /// The singing (ZR) tracks, list type 23, ordered by track number; at most the policy's
    /// maxZRTracks (16 by default).
    virtual IZRNodeList* getZRTrackList() const = 0;
    /// The first singing track with track number `trackNo`, or null.
    virtual IZRZRTrack* findZRTrack(std::int32_t trackNo) const = 0;
    /// The sound-effect audio track.
    virtual IZRWAVTrack* getSETrack() const = 0;
    /// The backing (karaoke) audio track.
    virtual IZRWAVTrack* getKaraokeTrack() const = 0;
    /// The song's VVoice table (list type 25), ordered by (bank select, program change).
    virtual IZRNodeList* getVVoiceList() const = 0;
    /// The mixer: master, ZR, SE and karaoke units.
    virtual IZRMixer* getMixer() const = 0;
    /// The container of the aux records the library keeps without reading them.
    virtual IZRUnManaged* getUnManaged() const = 0;

    /// The number of singing tracks; 0 without a track list.
    std::uint32_t getZRTrackCount() const {
        const IZRNodeList* tracks = getZRTrackList();
        return tracks != nullptr ? tracks->getCount() : 0;
    }
    /// The singing track at `index` (from 0, in track-list order; borrowed), or null when
    /// `index` is not below getZRTrackCount().
    IZRZRTrack* getZRTrack(std::uint32_t index) const {
        const IZRNodeList* tracks = getZRTrackList();
        return tracks != nullptr ? tracks->at<IZRZRTrack>(index) : nullptr;
    }
};
