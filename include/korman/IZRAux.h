// The read interface of an aux record: text the host stores in a song.
#pragma once

#include <korman/IZRKorObject.h>

#include <string>

/// An ID and a content text that the library keeps with the song without interpreting them.
class KORMAN_API IZRAux : public virtual IZRKorObject {
public:
    /// The record's ID text, as the host gave it. Valid while the record lives.
    virtual const std::wstring& getID() const = 0;
    /// The record's content text, as the host gave it. Valid while the record lives.
    virtual const std::wstring& getContent() const = 0;
};
