// The one header a host editor includes to use libkorman.
#pragma once

#include <korman/CZRKorManagerIF.h>
#include <korman/CZRWaveReader.h>
#include <korman/ErrorCodes.h>
#include <korman/Export.h>
#include <korman/IZRKorObject.h>
#include <korman/IZRMessageWindow.h>
#include <korman/IZRMutableKorObject.h>
#include <korman/IZRNodeList.h>
#include <korman/ZRKorManagementPolicy.h>
#include <korman/ZRObjType.h>
#include <korman/ZRVVoice.h>
