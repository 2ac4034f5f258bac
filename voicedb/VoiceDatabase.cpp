#include "VoiceDatabase.h"

#include "legacy/TypedFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace kor::voicedb {

namespace {

constexpr unsigned kUtf8CodePage = 65001;

// Reads a file of our own text form: values are taken whole, since names may hold ";".
bool parseOwnFile(const std::filesystem::path& path, CxTypedFile& file) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return false;
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return false;
    file.setCodePage(kUtf8CodePage);
    return file.parseText(bytes, false);
}

} // namespace

std::uint32_t VoiceDatabase::load(const std::wstring& dataFolder,
                                  const std::optional<std::filesystem::path>& userFile) {
    unload();

    CxTypedFile data;
    data.setCodePage(kUtf8CodePage);
    if (!data.parseFile(dataFolder + L"/voices.ini")) return DBM_E_IO;
    std::vector<Voice> voices;
    EditableTables tables;
    readVoiceData(data, dataFolder, voices, tables);
    if (voices.empty()) return DBM_E_FAIL;

    if (userFile) {
        // A user file that cannot be read leaves the shipped virtual voices in place.
        CxTypedFile user;
        if (parseOwnFile(*userFile, user)) readUserVirtualVoices(user, voices, tables);
    }

    dataFolder_ = dataFolder;
    voices_ = std::move(voices);
    tables_ = std::move(tables);
    loaded_ = true;
    return tables_.virtualVoices.size() >= kMaxVirtualVoices ? DBM_S_MASTER_TABLE_FULL : DBM_OK;
}

void VoiceDatabase::unload() {
    loaded_ = false;
    dataFolder_.clear();
    voices_.clear();
    tables_ = {};
    committed_.reset();
}

const VirtualVoice* VoiceDatabase::virtualVoice(VoiceKey key) const {
    auto it = tables_.virtualVoices.find(key);
    return it == tables_.virtualVoices.end() ? nullptr : &it->second;
}

std::uint32_t VoiceDatabase::createVirtualVoice(VirtualVoice voice) {
    if (findVoice(voices_, voice.compID) == nullptr) return DBM_E_NOT_FOUND;
    if (tables_.virtualVoices.contains(voice.key)) return DBM_E_EXISTS;
    if (tables_.virtualVoices.size() >= kMaxVirtualVoices) return DBM_E_FAIL;
    VoiceKey key = voice.key;
    tables_.virtualVoices.emplace(key, std::move(voice));
    return DBM_OK;
}

std::uint32_t VoiceDatabase::copyVirtualVoice(VoiceKey from, VoiceKey to) {
    const VirtualVoice* source = virtualVoice(from);
    if (source == nullptr) return DBM_E_NOT_FOUND;
    VirtualVoice copy = *source;
    copy.key = to;
    return createVirtualVoice(std::move(copy));
}

std::uint32_t VoiceDatabase::deleteVirtualVoice(VoiceKey key) {
    if (tables_.virtualVoices.erase(key) == 0) return DBM_E_NOT_FOUND;
    if (tables_.defaultVoice == key) tables_.defaultVoice.reset();
    return DBM_OK;
}

std::uint32_t VoiceDatabase::setVirtualVoiceName(VoiceKey key, std::wstring name) {
    auto it = tables_.virtualVoices.find(key);
    if (it == tables_.virtualVoices.end()) return DBM_E_NOT_FOUND;
    it->second.name = std::move(name);
    return DBM_OK;
}

std::uint32_t VoiceDatabase::setVirtualVoiceParam(VoiceKey key, const DBM_VoiceParam& param) {
    auto it = tables_.virtualVoices.find(key);
    if (it == tables_.virtualVoices.end()) return DBM_E_NOT_FOUND;
    it->second.param = param;
    return DBM_OK;
}

std::uint32_t VoiceDatabase::setDefaultVirtualVoice(VoiceKey key) {
    if (!tables_.virtualVoices.contains(key)) return DBM_E_NOT_FOUND;
    tables_.defaultVoice = key;
    return DBM_OK;
}

std::uint32_t VoiceDatabase::deleteExpItem(std::int32_t id) {
    return tables_.expItems.erase(id) == 0 ? DBM_E_NOT_FOUND : DBM_OK;
}

std::uint32_t VoiceDatabase::openEditor() {
    if (committed_) return DBM_E_EXISTS;
    committed_ = tables_;
    return DBM_OK;
}

std::uint32_t VoiceDatabase::commitEditor() {
    if (!committed_) return DBM_E_NO_EDITOR;
    committed_.reset();
    return DBM_OK;
}

std::uint32_t VoiceDatabase::rollBackEditor() {
    if (!committed_) return DBM_E_NO_EDITOR;
    tables_ = std::move(*committed_);
    committed_.reset();
    return DBM_OK;
}

std::uint32_t VoiceDatabase::backup(const std::filesystem::path& path) const {
    return writeFileAtomically(path, writeVirtualVoices(tables_)) ? DBM_OK : DBM_E_IO;
}

std::uint32_t VoiceDatabase::saveUserFile(const std::filesystem::path& userFile) const {
    std::error_code error;
    std::filesystem::create_directories(userFile.parent_path(), error);
    if (error) return DBM_E_IO;
    const EditableTables& saved = committed_ ? *committed_ : tables_;
    return writeFileAtomically(userFile, writeVirtualVoices(saved)) ? DBM_OK : DBM_E_IO;
}

bool writeFileAtomically(const std::filesystem::path& target, std::string_view bytes) {
    if (!target.has_filename()) return false;
    std::filesystem::path folder = target.parent_path();
    // A hidden name beside the target, made unique by mkstemp.
    std::string tempName(1, '.');
    tempName.append(target.filename().string()).append(".XXXXXX");
    std::string pattern = (folder / tempName).string();
    int fd = ::mkstemp(pattern.data());
    if (fd < 0) return false;

    bool written = true;
    for (std::size_t done = 0; written && done < bytes.size();) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        written = n > 0;
        if (written) done += static_cast<std::size_t>(n);
    }
    written = written && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    // The temporary file is private to mkstemp; give the result the usual file mode.
    written = written && ::chmod(pattern.c_str(), 0644) == 0;
    if (!written || ::rename(pattern.c_str(), target.c_str()) != 0) {
        ::unlink(pattern.c_str());
        return false;
    }
    return true;
}

} // namespace kor::voicedb
