#include "manager/FileMessages.h"

#include "platform/Path.h"

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

namespace kor {

namespace {

// The bytes of the first sequence in the file at `path` that is no UTF-8: its lead byte up to the
// byte that breaks it (or the file's end). Empty when the file is UTF-8 throughout or cannot be
// read. The XML parser stops at that sequence when it decodes the file as UTF-8.
std::string firstBrokenSequence(const std::wstring& path) {
    const std::optional<std::filesystem::path> native = platform::toPath(path);
    if (!native) return {};
    std::ifstream in(*native, std::ios::binary);
    std::istreambuf_iterator<char> at(in);
    const std::istreambuf_iterator<char> end;
    while (at != end) {
        const auto lead = static_cast<unsigned char>(*at++);
        if (lead < 0x80) continue;
        std::string sequence(1, static_cast<char>(lead));
        // The second byte's range excludes overlong forms, surrogates and values beyond Unicode.
        int trailing = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            trailing = 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            trailing = 2;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            trailing = 3;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return sequence;
        }
        for (int i = 0; i < trailing; ++i, low = 0x80, high = 0xBF) {
            if (at == end) return sequence;
            const auto next = static_cast<unsigned char>(*at++);
            sequence += static_cast<char>(next);
            if (next < low || next > high) return sequence;
        }
    }
    return {};
}

// Whether a host's wide printing may stumble on `c`: a control character other than tab and line
// breaks, a surrogate, a non-character or no Unicode value at all.
bool needsEscape(wchar_t c) {
    const auto code = static_cast<std::uint32_t>(c);
    if (code == L'\t' || code == L'\n' || code == L'\r') return false;
    return code < 0x20 || (code >= 0x7F && code < 0xA0) || (code >= 0xD800 && code < 0xE000) ||
           code == 0xFFFD || code == 0xFFFE || code == 0xFFFF || code > 0x10FFFF;
}

void appendEscape(std::wstring& out, const wchar_t* format, std::uint32_t value) {
    wchar_t escape[11];
    std::swprintf(escape, std::size(escape), format, value);
    out += escape;
}

} // namespace

bool readsFormat(FileReader reader, ZRFileFormat format) {
    switch (reader) {
    case FileReader::KorFile:
        return format == ZR_FILE_FORMAT_KOR3 || format == ZR_FILE_FORMAT_KOR4;
    case FileReader::LegacyFile:
        return format == ZR_FILE_FORMAT_LEGACY2 || format == ZR_FILE_FORMAT_LEGACY3;
    case FileReader::Smf:
        return format == ZR_FILE_FORMAT_SMF0 || format == ZR_FILE_FORMAT_SMF1 ||
               format == ZR_FILE_FORMAT_LEGACY2 || format == ZR_FILE_FORMAT_LEGACY3;
    case FileReader::MusicXml:
        return format == ZR_FILE_FORMAT_MUSICXML;
    }
    return false;
}

std::wstring otherFormatDetail(ZRFileFormat format, const std::wstring& path) {
    constexpr const wchar_t* kKorCalls = L"fileLoadKorFile or fileImportKorFile";
    constexpr const wchar_t* kLegacyCalls = L"fileLoadLegacyKorFile or fileImportLegacyKorFile";
    constexpr const wchar_t* kSmfCalls =
        L"fileLoadSMF or fileImportSMF, whose directives fileGetSMFImportDirective lists";
    const wchar_t* kind = nullptr;
    const wchar_t* calls = nullptr;
    switch (format) {
    case ZR_FILE_FORMAT_UNKNOWN:
        return {};
    case ZR_FILE_FORMAT_SMF0:
        kind = L"a standard MIDI file (format 0)";
        calls = kSmfCalls;
        break;
    case ZR_FILE_FORMAT_SMF1:
        kind = L"a standard MIDI file (format 1)";
        calls = kSmfCalls;
        break;
    case ZR_FILE_FORMAT_LEGACY2:
        kind = L"a legacy song file of version 201 or older";
        calls = kLegacyCalls;
        break;
    case ZR_FILE_FORMAT_LEGACY3:
        kind = L"a legacy song file of a version above 201";
        calls = kLegacyCalls;
        break;
    case ZR_FILE_FORMAT_KOR3:
        kind = L"a KOR3 song file";
        calls = kKorCalls;
        break;
    case ZR_FILE_FORMAT_KOR4:
        kind = L"a KOR4 song file";
        calls = kKorCalls;
        break;
    case ZR_FILE_FORMAT_MUSICXML:
        kind = L"a MusicXML score";
        calls = L"fileLoadMusicXML or fileImportMusicXML, whose directives "
                L"fileGetMusicXMLImportDirective lists";
        break;
    }
    return path + L" is " + kind + L": read it with " + calls + L'.';
}

std::wstring printableMessage(std::wstring message, const std::wstring& path) {
    if (std::find_if(message.begin(), message.end(), needsEscape) == message.end()) return message;
    std::string undecoded;
    if (message.find(L'\uFFFD') != std::wstring::npos) {
        // The parser names a byte it could not decode as U+FFFD, and a byte it could as itself.
        for (const char byte : firstBrokenSequence(path))
            if (static_cast<unsigned char>(byte) >= 0x80) undecoded += byte;
    }
    std::wstring text;
    std::size_t nextByte = 0;
    for (const wchar_t c : message) {
        const auto code = static_cast<std::uint32_t>(c);
        if (!needsEscape(c))
            text += c;
        else if (code == 0xFFFD && nextByte < undecoded.size())
            appendEscape(text, L"\\x%02X", static_cast<unsigned char>(undecoded[nextByte++]));
        else if (code < 0x80)
            appendEscape(text, L"\\x%02X", code);
        else if (code <= 0xFFFF)
            appendEscape(text, L"\\u%04X", code);
        else
            appendEscape(text, L"\\U%08X", code);
    }
    return text;
}

} // namespace kor
