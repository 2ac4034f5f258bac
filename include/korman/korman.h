// The one header a host editor includes to use libkorman.
#pragma once

#include <korman/ErrorCodes.h>
#include <korman/Export.h>
#include <korman/IZRKorObject.h>
#include <korman/IZRMutableKorObject.h>
#include <korman/IZRNodeList.h>
#include <korman/IZRZRUnit.h>
#include <korman/IZRVstPlugin.h>
#include <korman/IZRVVoice.h>
#include <korman/IZRUnManaged.h>
#include <korman/IZRSEUnit.h>
#include <korman/IZRMixer.h>
#include <korman/IZRMasterUnit.h>
#include <korman/IZRKaraokeUnit.h>
#include <korman/IZRAux.h>
#include <korman/ZRObjType.h>
#include <korman/ZRVVoice.h>
