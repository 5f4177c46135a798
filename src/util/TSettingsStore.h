#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace norvale {

// Value types, numbered as the registry numbers them.
enum class TRegDataType : std::uint32_t {
    None = 0,
    String = 1,
    Binary = 3,
    DWord = 4,
    MultiString = 7,
};

struct TRegValue {
    std::string name;  // as created; looked up ignoring ASCII case
    TRegDataType type = TRegDataType::None;
    // Raw bytes: DWord as four little-endian bytes, String without terminator,
    // MultiString as every string followed by NUL plus a final NUL.
    std::string data;
};

// The per-user settings that stand in for the registry tree under HKEY_CURRENT_USER.
// One text file in the registry export syntax (REGEDIT4), read back after hand edits
// that keep the syntax. Every change writes the whole file atomically with mode 0600;
// before each use the file is read again if another process changed it meanwhile, so
// the desktop program and norvale-cli do not undo each other's values.
//
// Key paths are relative to HKEY_CURRENT_USER, separated by "\" ("Software\Norvale\Res"),
// and compared ignoring ASCII case, as are value names. Value names keep the order in
// which they were created.
class TSettingsStore {
public:
    explicit TSettingsStore(std::string filePath);

    const std::string& FilePath() const { return filePath_; }

    // Set when the file existed but could not be parsed: it was kept aside under
    // another name and the store started empty. The text says so; show it once.
    const std::string& LoadProblem() const { return loadProblem_; }
    void ClearLoadProblem() { loadProblem_.clear(); }

    bool KeyExists(const std::string& key);
    void CreateKey(const std::string& key);  // with its parents
    bool DeleteKey(const std::string& key);  // with everything below it
    std::vector<std::string> SubKeyNames(const std::string& key);
    std::vector<std::string> ValueNames(const std::string& key);

    bool FindValue(const std::string& key, const std::string& name, TRegValue& out);
    // Creates the key when missing. Throws EFileError when the file cannot be written;
    // the value is then not kept either.
    void SetValue(const std::string& key, const std::string& name, TRegDataType type,
                  const std::string& data);
    bool DeleteValue(const std::string& key, const std::string& name);

    // The file and its folder readable and writable by their owner only.
    void RestrictToOwner();

    // Parsing and writing, public for tests and fuzzing. Parse throws ENorvaleError
    // with the line number on a syntax error.
    struct TKeyData {
        std::string path;  // as created
        std::vector<TRegValue> values;
    };
    using TTree = std::map<std::string, TKeyData>;  // by lower-cased path
    static TTree Parse(const std::string& text);
    static std::string Serialize(const TTree& tree);

private:
    void Refresh();
    void Load();
    bool ReadIfPresent(std::string& text) const;
    void Adopt(bool exists, const std::string& text, const std::string& readProblem);
    void Save(const TTree& tree);
    TKeyData* Find(const std::string& key);
    static std::string Normalize(const std::string& key);
    static void AddKey(TTree& tree, const std::string& key);

    std::string filePath_;
    std::string loadProblem_;
    TTree tree_;
    // What the file held when it was last read or written.
    std::string lastText_;
    bool haveFile_ = false;
};

}  // namespace norvale
