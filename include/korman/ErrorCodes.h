// The error codes that every korman operation reports; messages come from the manager's table.
#pragma once

#include <cstdint>

/// Success. Every failure is a code of the form 0x8307xxxx.
inline constexpr std::uint32_t ZR_S_OK = 0;

/// "Not enough memory."
inline constexpr std::uint32_t ZR_E_NOT_ENOUGH_MEMORY = 0x83070001u;
/// "Cannot initialize DBM."
inline constexpr std::uint32_t ZR_E_CANNOT_INITIALIZE_DBM = 0x83070002u;
/// "Cannot initialize Kor manager unknown reason."
inline constexpr std::uint32_t ZR_E_CANNOT_INITIALIZE_MANAGER = 0x83070003u;
/// "Not initialized."
inline constexpr std::uint32_t ZR_E_NOT_INITIALIZED = 0x83070011u;
/// "Invalid parameter."
inline constexpr std::uint32_t ZR_E_INVALID_PARAMETER = 0x83070012u;
/// "The specified file is not found."
inline constexpr std::uint32_t ZR_E_FILE_NOT_FOUND = 0x83070013u;
/// "Cannot open the specified file."
inline constexpr std::uint32_t ZR_E_CANNOT_OPEN_FILE = 0x83070014u;
/// "File is not loaded."
inline constexpr std::uint32_t ZR_E_FILE_IS_NOT_LOADED = 0x83070015u;
/// "Cannot save the specified file."
inline constexpr std::uint32_t ZR_E_CANNOT_SAVE_FILE = 0x83070016u;
/// "Invalid file name."
inline constexpr std::uint32_t ZR_E_INVALID_FILE_NAME = 0x83070017u;
/// "Invalid KOR file."
inline constexpr std::uint32_t ZR_E_INVALID_KOR_FILE = 0x83070024u;
/// "Invalid SMF."
inline constexpr std::uint32_t ZR_E_INVALID_SMF = 0x83070025u;
/// "Invalid premeasure."
inline constexpr std::uint32_t ZR_E_INVALID_PREMEASURE = 0x83070031u;
/// "Invalid T2 style."
inline constexpr std::uint32_t ZR_E_INVALID_T2_STYLE = 0x83070032u;
/// "Invalid management policy."
inline constexpr std::uint32_t ZR_E_INVALID_MANAGEMENT_POLICY = 0x83070004u;
/// "Cannot create temporary folder."
inline constexpr std::uint32_t ZR_E_CANNOT_CREATE_TEMPORARY_FOLDER = 0x83070005u;
/// "Cannot create internal vvoice table."
inline constexpr std::uint32_t ZR_E_CANNOT_CREATE_INTERNAL_VVOICE_TABLE = 0x83070006u;
/// "Cannot create vibrato table."
inline constexpr std::uint32_t ZR_E_CANNOT_CREATE_VIBRATO_TABLE = 0x83070007u;
/// "VVoice master table is full."
inline constexpr std::uint32_t ZR_E_VVOICE_MASTER_TABLE_IS_FULL = 0x83070008u;
/// "Cannot get cross synthesis voice library groups."
inline constexpr std::uint32_t ZR_E_CANNOT_GET_VOICE_LIBRARY_GROUPS = 0x83070009u;
/// "Cannot initialize XML parser."
inline constexpr std::uint32_t ZR_E_CANNOT_INITIALIZE_XML_PARSER = 0x83070021u;
/// "Invalid XML file."
inline constexpr std::uint32_t ZR_E_INVALID_XML_FILE = 0x83070022u;
/// "Invalid KOR3 file."
inline constexpr std::uint32_t ZR_E_INVALID_KOR3_FILE = 0x83070023u;
/// "Invalid VVoice table."
inline constexpr std::uint32_t ZR_E_INVALID_VVOICE_TABLE = 0x83070033u;
/// "Invalid WAV part."
inline constexpr std::uint32_t ZR_E_INVALID_WAV_PART = 0x83070034u;
/// "The export target object does not exists."
inline constexpr std::uint32_t ZR_E_EXPORT_TARGET_NOT_FOUND = 0x83070041u;
/// "Cannot save WAV file."
inline constexpr std::uint32_t ZR_E_CANNOT_SAVE_WAV_FILE = 0x83070051u;
/// "Invalid management policy."
inline constexpr std::uint32_t ZR_E_INVALID_MANAGEMENT_POLICY_ALT = 0x830700A4u;
/// "Cannot create temporary folder."
inline constexpr std::uint32_t ZR_E_CANNOT_CREATE_TEMPORARY_FOLDER_ALT = 0x830700A5u;
/// "Cannot create internal vvoice table."
inline constexpr std::uint32_t ZR_E_CANNOT_CREATE_INTERNAL_VVOICE_TABLE_ALT = 0x830700A6u;
/// "Cannot create vibrato table."
inline constexpr std::uint32_t ZR_E_CANNOT_CREATE_VIBRATO_TABLE_ALT = 0x830700A7u;
/// "VVoice master table is full."
inline constexpr std::uint32_t ZR_E_VVOICE_MASTER_TABLE_IS_FULL_ALT = 0x830700A8u;
/// "Cannot initialize XML parser."
inline constexpr std::uint32_t ZR_E_KOR4_CANNOT_INITIALIZE_XML_PARSER = 0x830700C1u;
/// "Invalid XML file."
inline constexpr std::uint32_t ZR_E_KOR4_INVALID_XML_FILE = 0x830700C2u;
/// "Invalid KOR4 file."
inline constexpr std::uint32_t ZR_E_INVALID_KOR4_FILE = 0x830700C3u;
/// "Invalid VVoice table."
inline constexpr std::uint32_t ZR_E_KOR4_INVALID_VVOICE_TABLE = 0x830700D3u;
/// "Invalid WAV part."
inline constexpr std::uint32_t ZR_E_KOR4_INVALID_WAV_PART = 0x830700D4u;
/// "The export target object does not exists."
inline constexpr std::uint32_t ZR_E_KOR4_EXPORT_TARGET_NOT_FOUND = 0x830700E1u;
/// "Cannot save WAV file."
inline constexpr std::uint32_t ZR_E_KOR4_CANNOT_SAVE_WAV_FILE = 0x830700F1u;
/// "Invalid time signature value."
inline constexpr std::uint32_t ZR_E_INVALID_TIME_SIGNATURE_VALUE = 0x83070101u;
/// "Invalid time signature position."
inline constexpr std::uint32_t ZR_E_INVALID_TIME_SIGNATURE_POSITION = 0x83070102u;
/// "Invalid time signature number."
inline constexpr std::uint32_t ZR_E_INVALID_TIME_SIGNATURE_NUMBER = 0x83070201u;
/// "Time signatures are duplicated."
inline constexpr std::uint32_t ZR_E_TIME_SIGNATURES_ARE_DUPLICATED = 0x83070202u;
/// "Time signature is null."
inline constexpr std::uint32_t ZR_E_TIME_SIGNATURE_IS_NULL = 0x83070203u;
/// "Invalid tempo value."
inline constexpr std::uint32_t ZR_E_INVALID_TEMPO_VALUE = 0x83070301u;
/// "Invalid tempo position."
inline constexpr std::uint32_t ZR_E_INVALID_TEMPO_POSITION = 0x83070302u;
/// "Invalid tempo number."
inline constexpr std::uint32_t ZR_E_INVALID_TEMPO_NUMBER = 0x83070401u;
/// "Tempos are duplicated."
inline constexpr std::uint32_t ZR_E_TEMPOS_ARE_DUPLICATED = 0x83070402u;
/// "Tempo is null."
inline constexpr std::uint32_t ZR_E_TEMPO_IS_NULL = 0x83070403u;
/// "Invalid note position."
inline constexpr std::uint32_t ZR_E_INVALID_NOTE_POSITION = 0x83070501u;
/// "Invalid note duration."
inline constexpr std::uint32_t ZR_E_INVALID_NOTE_DURATION = 0x83070502u;
/// "Invalid note number."
inline constexpr std::uint32_t ZR_E_INVALID_NOTE_NUMBER = 0x83070503u;
/// "Invalid note velocity."
inline constexpr std::uint32_t ZR_E_INVALID_NOTE_VELOCITY = 0x83070504u;
/// "Invalid lyric."
inline constexpr std::uint32_t ZR_E_INVALID_LYRIC = 0x83070505u;
/// "Invalid phoneme."
inline constexpr std::uint32_t ZR_E_INVALID_PHONEME = 0x83070506u;
/// "Invalid note style."
inline constexpr std::uint32_t ZR_E_INVALID_NOTE_STYLE = 0x83070507u;
/// "Invalid T2 note style."
inline constexpr std::uint32_t ZR_E_INVALID_T2_NOTE_STYLE = 0x83070508u;
/// "Invalid vibrato."
inline constexpr std::uint32_t ZR_E_INVALID_VIBRATO = 0x83070509u;
/// "Notes are duplicated."
inline constexpr std::uint32_t ZR_E_NOTES_ARE_DUPLICATED = 0x83070601u;
/// "Note is null."
inline constexpr std::uint32_t ZR_E_NOTE_IS_NULL = 0x83070602u;
/// "Invalid note style attribute ID."
inline constexpr std::uint32_t ZR_E_INVALID_NOTE_STYLE_ATTRIBUTE_ID = 0x83070701u;
/// "Invalid sequential note style attribute ID."
inline constexpr std::uint32_t ZR_E_INVALID_SEQUENTIAL_NOTE_STYLE_ATTRIBUTE_ID = 0x83070801u;
/// "Invalid sequential note style attribute position."
inline constexpr std::uint32_t ZR_E_INVALID_SEQUENTIAL_NOTE_STYLE_ATTRIBUTE_POSITION = 0x83070901u;
/// "Invalid sequential note style attribute number."
inline constexpr std::uint32_t ZR_E_INVALID_SEQUENTIAL_NOTE_STYLE_ATTRIBUTE_NUMBER = 0x83070A01u;
/// "Sequential note style attributes are duplicated."
inline constexpr std::uint32_t ZR_E_SEQUENTIAL_NOTE_STYLE_ATTRIBUTES_ARE_DUPLICATED = 0x83070A02u;
/// "Sequential note style attribute is null."
inline constexpr std::uint32_t ZR_E_SEQUENTIAL_NOTE_STYLE_ATTRIBUTE_IS_NULL = 0x83070A03u;
/// "Invalid singer position."
inline constexpr std::uint32_t ZR_E_INVALID_SINGER_POSITION = 0x83070B01u;
/// "Invalid singer bank select."
inline constexpr std::uint32_t ZR_E_INVALID_SINGER_BANK_SELECT = 0x83070B02u;
/// "Invalid singer program change."
inline constexpr std::uint32_t ZR_E_INVALID_SINGER_PROGRAM_CHANGE = 0x83070B03u;
/// "Invalid singer number."
inline constexpr std::uint32_t ZR_E_INVALID_SINGER_NUMBER = 0x83070C01u;
/// "Singers are duplicated."
inline constexpr std::uint32_t ZR_E_SINGERS_ARE_DUPLICATED = 0x83070C02u;
/// "Singe is null."
inline constexpr std::uint32_t ZR_E_SINGER_IS_NULL = 0x83070C03u;
/// "Invalid musical control position."
inline constexpr std::uint32_t ZR_E_INVALID_MUSICAL_CONTROL_POSITION = 0x83070D01u;
/// "Invalid musical control ID."
inline constexpr std::uint32_t ZR_E_INVALID_MUSICAL_CONTROL_ID = 0x83070D02u;
/// "Musical controls are duplicated."
inline constexpr std::uint32_t ZR_E_MUSICAL_CONTROLS_ARE_DUPLICATED = 0x83070E01u;
/// "Musical control is null."
inline constexpr std::uint32_t ZR_E_MUSICAL_CONTROL_IS_NULL = 0x83070E02u;
/// "Invalid style control position."
inline constexpr std::uint32_t ZR_E_INVALID_STYLE_CONTROL_POSITION = 0x83070F01u;
/// "Invalid style control ID."
inline constexpr std::uint32_t ZR_E_INVALID_STYLE_CONTROL_ID = 0x83070F02u;
/// "Style controls are duplicated."
inline constexpr std::uint32_t ZR_E_STYLE_CONTROLS_ARE_DUPLICATED = 0x83071001u;
/// "Style control is null."
inline constexpr std::uint32_t ZR_E_STYLE_CONTROL_IS_NULL = 0x83071002u;
/// "Invalid prosody phoneme position."
inline constexpr std::uint32_t ZR_E_INVALID_PROSODY_PHONEME_POSITION = 0x83071101u;
/// "Invalid prosody phoneme duration."
inline constexpr std::uint32_t ZR_E_INVALID_PROSODY_PHONEME_DURATION = 0x83071102u;
/// "Invalid prosody phoneme."
inline constexpr std::uint32_t ZR_E_INVALID_PROSODY_PHONEME = 0x83071103u;
/// "Prosody phonemes are duplicated."
inline constexpr std::uint32_t ZR_E_PROSODY_PHONEMES_ARE_DUPLICATED = 0x83071201u;
/// "Prosody phoneme is null."
inline constexpr std::uint32_t ZR_E_PROSODY_PHONEME_IS_NULL = 0x83071202u;
/// "Invalid prosody voice position."
inline constexpr std::uint32_t ZR_E_INVALID_PROSODY_VOICE_POSITION = 0x83071301u;
/// "Invalid prosody voice bank select."
inline constexpr std::uint32_t ZR_E_INVALID_PROSODY_VOICE_BANK_SELECT = 0x83071302u;
/// "Invalid prosody voice program change."
inline constexpr std::uint32_t ZR_E_INVALID_PROSODY_VOICE_PROGRAM_CHANGE = 0x83071303u;
/// "Invalid prosody voice number."
inline constexpr std::uint32_t ZR_E_INVALID_PROSODY_VOICE_NUMBER = 0x83071401u;
/// "Prosody voices are duplicated."
inline constexpr std::uint32_t ZR_E_PROSODY_VOICES_ARE_DUPLICATED = 0x83071402u;
/// "Prosody voice is null."
inline constexpr std::uint32_t ZR_E_PROSODY_VOICE_IS_NULL = 0x83071403u;
/// "Invalid prosody element position."
inline constexpr std::uint32_t ZR_E_INVALID_PROSODY_ELEMENT_POSITION = 0x83071501u;
/// "Invalid prosody element number."
inline constexpr std::uint32_t ZR_E_INVALID_PROSODY_ELEMENT_NUMBER = 0x83071601u;
/// "Prosody elements are duplicated."
inline constexpr std::uint32_t ZR_E_PROSODY_ELEMENTS_ARE_DUPLICATED = 0x83071602u;
/// "Prosody element is null."
inline constexpr std::uint32_t ZR_E_PROSODY_ELEMENT_IS_NULL = 0x83071603u;
/// "Invalid prosody control position."
inline constexpr std::uint32_t ZR_E_INVALID_PROSODY_CONTROL_POSITION = 0x83071701u;
/// "Invalid prosody control ID."
inline constexpr std::uint32_t ZR_E_INVALID_PROSODY_CONTROL_ID = 0x83071702u;
/// "Prosody controls are duplicated."
inline constexpr std::uint32_t ZR_E_PROSODY_CONTROLS_ARE_DUPLICATED = 0x83071801u;
/// "Prosody control is null."
inline constexpr std::uint32_t ZR_E_PROSODY_CONTROL_IS_NULL = 0x83071802u;
/// "Invalid style plugin attribute info ID."
inline constexpr std::uint32_t ZR_E_INVALID_STYLE_PLUGIN_ATTRIBUTE_INFO_ID = 0x83071901u;
/// "Invalid style plugin attribute info type."
inline constexpr std::uint32_t ZR_E_INVALID_STYLE_PLUGIN_ATTRIBUTE_INFO_TYPE = 0x83071902u;
/// "Invalid part style attribute ID."
inline constexpr std::uint32_t ZR_E_INVALID_PART_STYLE_ATTRIBUTE_ID = 0x83071A01u;
/// "Invalid part position."
inline constexpr std::uint32_t ZR_E_INVALID_PART_POSITION = 0x83071B01u;
/// "Invalid part duration."
inline constexpr std::uint32_t ZR_E_INVALID_PART_DURATION = 0x83071B02u;
/// "Invalid part play time."
inline constexpr std::uint32_t ZR_E_INVALID_PART_PLAY_TIME = 0x83071B03u;
/// "Invalid part number."
inline constexpr std::uint32_t ZR_E_INVALID_PART_NUMBER = 0x83071C01u;
/// "Part is null."
inline constexpr std::uint32_t ZR_E_PART_IS_NULL = 0x83071C02u;
/// "Invalid wave sampling rate."
inline constexpr std::uint32_t ZR_E_INVALID_WAVE_SAMPLING_RATE = 0x83071D01u;
/// "Invalid wave sampling resolution."
inline constexpr std::uint32_t ZR_E_INVALID_WAVE_SAMPLING_RESOLUTION = 0x83071D02u;
/// "Invalid wave channels."
inline constexpr std::uint32_t ZR_E_INVALID_WAVE_CHANNELS = 0x83071D03u;
/// "Invalid wave file path."
inline constexpr std::uint32_t ZR_E_INVALID_WAVE_FILE_PATH = 0x83071D04u;
/// "Invalid wave file."
inline constexpr std::uint32_t ZR_E_INVALID_WAVE_FILE = 0x83071D05u;
/// "Invalid wave file duration."
inline constexpr std::uint32_t ZR_E_INVALID_WAVE_FILE_DURATION = 0x83071D06u;
/// "Out of WAV part number."
inline constexpr std::uint32_t ZR_E_OUT_OF_WAV_PART_NUMBER = 0x83071D07u;
/// "Invalid time resolution."
inline constexpr std::uint32_t ZR_E_INVALID_TIME_RESOLUTION = 0x83071E01u;
/// "Invalid pre measure."
inline constexpr std::uint32_t ZR_E_INVALID_PRE_MEASURE = 0x83071E02u;
/// "Invalid track ID."
inline constexpr std::uint32_t ZR_E_INVALID_TRACK_ID = 0x83071F01u;
/// "Invalid track value."
inline constexpr std::uint32_t ZR_E_INVALID_TRACK_VALUE = 0x83071F02u;
/// "Invalid track number."
inline constexpr std::uint32_t ZR_E_INVALID_TRACK_NUMBER = 0x83072001u;
/// "Tracks are duplicated."
inline constexpr std::uint32_t ZR_E_TRACKS_ARE_DUPLICATED = 0x83072002u;
/// "Track is null."
inline constexpr std::uint32_t ZR_E_TRACK_IS_NULL = 0x83072003u;
/// "Invalid VVoice bank select."
inline constexpr std::uint32_t ZR_E_INVALID_VVOICE_BANK_SELECT = 0x83072101u;
/// "Invalid VVoice program change."
inline constexpr std::uint32_t ZR_E_INVALID_VVOICE_PROGRAM_CHANGE = 0x83072102u;
/// "Invalid VVoice component ID."
inline constexpr std::uint32_t ZR_E_INVALID_VVOICE_COMPONENT_ID = 0x83072103u;
/// "Invalid VVoice name."
inline constexpr std::uint32_t ZR_E_INVALID_VVOICE_NAME = 0x83072104u;
/// "Invalid VVoice parameter."
inline constexpr std::uint32_t ZR_E_INVALID_VVOICE_PARAMETER = 0x83072105u;
/// "Invalid VVoice number."
inline constexpr std::uint32_t ZR_E_INVALID_VVOICE_NUMBER = 0x83072201u;
/// "VVoices are duplicated."
inline constexpr std::uint32_t ZR_E_VVOICES_ARE_DUPLICATED = 0x83072202u;
/// "VVoice is null."
inline constexpr std::uint32_t ZR_E_VVOICE_IS_NULL = 0x83072203u;
/// "Invalid VST plugin ID."
inline constexpr std::uint32_t ZR_E_INVALID_VST_PLUGIN_ID = 0x83072301u;
/// "Invalid VST plugin SDK version."
inline constexpr std::uint32_t ZR_E_INVALID_VST_PLUGIN_SDK_VERSION = 0x83072302u;
/// "Invalid VST plugin parameter number."
inline constexpr std::uint32_t ZR_E_INVALID_VST_PLUGIN_PARAMETER_NUMBER = 0x83072303u;
/// "Invalid VST plugin parameter values."
inline constexpr std::uint32_t ZR_E_INVALID_VST_PLUGIN_PARAMETER_VALUES = 0x83072304u;
/// "Invalid VST plugin number."
inline constexpr std::uint32_t ZR_E_INVALID_VST_PLUGIN_NUMBER = 0x83072401u;
/// "Invalid Send Return VST plugin number."
inline constexpr std::uint32_t ZR_E_INVALID_SEND_RETURN_VST_PLUGIN_NUMBER = 0x83072402u;
/// "VST plugin is null."
inline constexpr std::uint32_t ZR_E_VST_PLUGIN_IS_NULL = 0x83072403u;
/// "Invalid master unit output device ID."
inline constexpr std::uint32_t ZR_E_INVALID_MASTER_UNIT_OUTPUT_DEVICE_ID = 0x83072501u;
/// "Invalid master unit return level."
inline constexpr std::uint32_t ZR_E_INVALID_MASTER_UNIT_RETURN_LEVEL = 0x83072502u;
/// "Invalid master unit volume."
inline constexpr std::uint32_t ZR_E_INVALID_MASTER_UNIT_VOLUME = 0x83072503u;
/// "Invalid zr unit ID."
inline constexpr std::uint32_t ZR_E_INVALID_ZR_UNIT_ID = 0x83072601u;
/// "Invalid zr unit input gain."
inline constexpr std::uint32_t ZR_E_INVALID_ZR_UNIT_INPUT_GAIN = 0x83072602u;
/// "Invalid zr unit send level."
inline constexpr std::uint32_t ZR_E_INVALID_ZR_UNIT_SEND_LEVEL = 0x83072603u;
/// "Invalid zr unit send switch."
inline constexpr std::uint32_t ZR_E_INVALID_ZR_UNIT_SEND_SWITCH = 0x83072604u;
/// "Invalid zr unit solo."
inline constexpr std::uint32_t ZR_E_INVALID_ZR_UNIT_SOLO = 0x83072605u;
/// "Invalid zr unit panpot."
inline constexpr std::uint32_t ZR_E_INVALID_ZR_UNIT_PANPOT = 0x83072606u;
/// "Invalid zr unit volume."
inline constexpr std::uint32_t ZR_E_INVALID_ZR_UNIT_VOLUME = 0x83072607u;
/// "Invalid zr unit number."
inline constexpr std::uint32_t ZR_E_INVALID_ZR_UNIT_NUMBER = 0x83072701u;
/// "ZR units are duplicated."
inline constexpr std::uint32_t ZR_E_ZR_UNITS_ARE_DUPLICATED = 0x83072702u;
/// "ZR unit is null."
inline constexpr std::uint32_t ZR_E_ZR_UNIT_IS_NULL = 0x83072703u;
/// "Invalid se unit input gain."
inline constexpr std::uint32_t ZR_E_INVALID_SE_UNIT_INPUT_GAIN = 0x83072801u;
/// "Invalid se unit send level."
inline constexpr std::uint32_t ZR_E_INVALID_SE_UNIT_SEND_LEVEL = 0x83072802u;
/// "Invalid se unit send switch."
inline constexpr std::uint32_t ZR_E_INVALID_SE_UNIT_SEND_SWITCH = 0x83072803u;
/// "Invalid se unit solo."
inline constexpr std::uint32_t ZR_E_INVALID_SE_UNIT_SOLO = 0x83072804u;
/// "Invalid se unit panpot."
inline constexpr std::uint32_t ZR_E_INVALID_SE_UNIT_PANPOT = 0x83072805u;
/// "Invalid se unit volume."
inline constexpr std::uint32_t ZR_E_INVALID_SE_UNIT_VOLUME = 0x83072806u;
/// "Invalid backing unit input gain."
inline constexpr std::uint32_t ZR_E_INVALID_BACKING_UNIT_INPUT_GAIN = 0x83072901u;
/// "Invalid backing unit solo."
inline constexpr std::uint32_t ZR_E_INVALID_BACKING_UNIT_SOLO = 0x83072902u;
/// "Invalid backing unit volume."
inline constexpr std::uint32_t ZR_E_INVALID_BACKING_UNIT_VOLUME = 0x83072903u;
/// "Invalid master unit."
inline constexpr std::uint32_t ZR_E_INVALID_MASTER_UNIT = 0x83072A01u;
/// "Invalid se unit."
inline constexpr std::uint32_t ZR_E_INVALID_SE_UNIT = 0x83072A02u;
/// "Invalid backing unit."
inline constexpr std::uint32_t ZR_E_INVALID_BACKING_UNIT = 0x83072A03u;
/// "Invalid sequence file version."
inline constexpr std::uint32_t ZR_E_INVALID_SEQUENCE_FILE_VERSION = 0x83072B01u;
/// "Invalid mixer."
inline constexpr std::uint32_t ZR_E_INVALID_MIXER = 0x83072B02u;
/// "Invalid master track."
inline constexpr std::uint32_t ZR_E_INVALID_MASTER_TRACK = 0x83072B03u;
/// "Invalid zr track."
inline constexpr std::uint32_t ZR_E_INVALID_ZR_TRACK = 0x83072B04u;
/// "Invalid se track."
inline constexpr std::uint32_t ZR_E_INVALID_SE_TRACK = 0x83072B05u;
/// "Invalid backing track."
inline constexpr std::uint32_t ZR_E_INVALID_BACKING_TRACK = 0x83072B06u;
/// "Invalid sequence."
inline constexpr std::uint32_t ZR_E_INVALID_SEQUENCE = 0x83072C01u;
/// "Unknown error."
inline constexpr std::uint32_t ZR_E_UNKNOWN_ERROR = 0x83073001u;
/// "The edit target object does not exists."
inline constexpr std::uint32_t ZR_E_EDIT_TARGET_NOT_FOUND = 0x83073101u;
/// "The edit target is already deleted."
inline constexpr std::uint32_t ZR_E_EDIT_TARGET_DELETED = 0x83073102u;
/// "The editing is conflicted between previous editing."
inline constexpr std::uint32_t ZR_E_EDIT_CONFLICT = 0x83073103u;
/// "Update method is failed."
inline constexpr std::uint32_t ZR_E_UPDATE_FAILED = 0x83073104u;
/// "Out of memory."
inline constexpr std::uint32_t ZR_E_EDIT_OUT_OF_MEMORY = 0x83073105u;
/// "Data type of the edit target is incorrect."
inline constexpr std::uint32_t ZR_E_EDIT_TARGET_WRONG_TYPE = 0x83073106u;
/// "Invalid parameters."
inline constexpr std::uint32_t ZR_E_EDIT_INVALID_PARAMETERS = 0x83073107u;
/// "Not allowed updating the head event."
inline constexpr std::uint32_t ZR_E_HEAD_EVENT_UPDATE_NOT_ALLOWED = 0x83073201u;
/// "Not allowed deleting the head event."
inline constexpr std::uint32_t ZR_E_HEAD_EVENT_DELETE_NOT_ALLOWED = 0x83073202u;
/// "The sequence does not exists."
inline constexpr std::uint32_t ZR_E_NO_SEQUENCE = 0x83073301u;
/// "The master track does not exists."
inline constexpr std::uint32_t ZR_E_NO_MASTER_TRACK = 0x83073302u;
/// "The VVoice specified VBS and VPC does not exists."
inline constexpr std::uint32_t ZR_E_VVOICE_NOT_FOUND = 0x83073303u;
/// "The mixer does not exists."
inline constexpr std::uint32_t ZR_E_NO_MIXER = 0x83073304u;
/// "Copy source object does not exists."
inline constexpr std::uint32_t ZR_E_COPY_SOURCE_NOT_FOUND = 0x83073305u;
/// "Import source object does not exists."
inline constexpr std::uint32_t ZR_E_IMPORT_SOURCE_NOT_FOUND = 0x83073306u;
/// "The edit target is not T2 style object."
inline constexpr std::uint32_t ZR_E_EDIT_TARGET_NOT_T2_STYLE = 0x83073401u;
/// "Invalid part extend duration."
inline constexpr std::uint32_t ZR_E_INVALID_PART_EXTEND_DURATION = 0x83073501u;
/// "Target parts are overlapped."
inline constexpr std::uint32_t ZR_E_PARTS_OVERLAP = 0x83073600u;
/// "Target parts are overlapped(Note)."
inline constexpr std::uint32_t ZR_E_PARTS_OVERLAP_NOTE = 0x83073601u;
/// "Target parts are overlapped(DYN)."
inline constexpr std::uint32_t ZR_E_PARTS_OVERLAP_DYN = 0x83073602u;
/// "Target parts are overlapped(BRE)."
inline constexpr std::uint32_t ZR_E_PARTS_OVERLAP_BRE = 0x83073603u;
/// "Target parts are overlapped(BRI)."
inline constexpr std::uint32_t ZR_E_PARTS_OVERLAP_BRI = 0x83073604u;
/// "Target parts are overlapped(CLE)."
inline constexpr std::uint32_t ZR_E_PARTS_OVERLAP_CLE = 0x83073605u;
/// "Target parts are overlapped(GEN)."
inline constexpr std::uint32_t ZR_E_PARTS_OVERLAP_GEN = 0x83073606u;
/// "Target parts are overlapped(PIT)."
inline constexpr std::uint32_t ZR_E_PARTS_OVERLAP_PIT = 0x83073607u;
/// "Target parts are overlapped(PBS)."
inline constexpr std::uint32_t ZR_E_PARTS_OVERLAP_PBS = 0x83073608u;
/// "Target parts are overlapped(POR)."
inline constexpr std::uint32_t ZR_E_PARTS_OVERLAP_POR = 0x83073609u;
/// "Target parts are not on the same track."
inline constexpr std::uint32_t ZR_E_PARTS_NOT_ON_SAME_TRACK = 0x83073701u;
/// "Unknown error."
inline constexpr std::uint32_t ZR_E_UNKNOWN_PART_ERROR = 0x83074001u;

// Reading scores of other programs (0x830750xx): codes of their own, after the table above.
/// "Invalid MusicXML file."
inline constexpr std::uint32_t ZR_E_INVALID_MUSICXML = 0x83075001u;
/// "Invalid compressed MusicXML file."
inline constexpr std::uint32_t ZR_E_INVALID_MUSICXML_ARCHIVE = 0x83075002u;

// The life of an editor (0x830760xx): an editor the host still holds after its song was replaced,
// and an editor that has made its one commit.
/// "The song this editor edited was replaced."
inline constexpr std::uint32_t ZR_E_EDITOR_DETACHED = 0x83076001u;
/// "This editor has committed already."
inline constexpr std::uint32_t ZR_E_EDITOR_COMMITTED = 0x83076002u;
