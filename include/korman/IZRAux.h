// The read interface of an aux record: text the host stores in a song.
#pragma once

#include <korman/IZRKorObject.h>

#include <string>

/// An ID and a content text that the library keeps with the song without interpreting them.
class KORMAN_API IZRAux : public virtual IZRKorObject {
public:
    virtual const std::wstring& getID() const = 0;
    virtual const std::wstring& getContent() const = 0;
};
