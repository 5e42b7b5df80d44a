#include "common/testing/memory_file_system.h"

#include "common/automation_text.h"

namespace folivex::testing {
namespace {

bool WildcardMatch(std::wstring_view pattern, std::wstring_view name) {
    if (pattern.empty()) {
        return name.empty();
    }
    if (pattern[0] == L'*') {
        for (std::size_t skip = 0; skip <= name.size(); ++skip) {
            if (WildcardMatch(pattern.substr(1), name.substr(skip))) {
                return true;
            }
        }
        return false;
    }
    if (name.empty()) {
        return false;
    }
    if (pattern[0] == L'?' || pattern[0] == name[0]) {
        return WildcardMatch(pattern.substr(1), name.substr(1));
    }
    return false;
}

std::wstring LastSegment(const std::wstring& key) {
    const std::size_t slash = key.find_last_of(L'\\');
    return slash == std::wstring::npos ? key : key.substr(slash + 1);
}

} // namespace

class MemoryFileSystem::Writer : public FileWriter {
public:
    Writer(MemoryFileSystem& fs, std::wstring key) : fs_(fs), key_(std::move(key)) {}
    bool Write(const std::uint8_t* data, std::size_t size) override {
        File& file = fs_.files_[key_];
        if (fs_.failWritesAfter_ && file.content.size() + size > *fs_.failWritesAfter_) {
            failed_ = true;
            return false;
        }
        file.content.append(reinterpret_cast<const char*>(data), size);
        return true;
    }
    bool Close() override { return !failed_; }

private:
    MemoryFileSystem& fs_;
    std::wstring key_;
    bool failed_ = false;
};

MemoryFileSystem::MemoryFileSystem() {
    directories_.insert(L"c:");
}

std::wstring MemoryFileSystem::Key(const std::wstring& path) {
    std::wstring key = AsciiLower(path);
    for (wchar_t& c : key) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    while (key.size() > 1 && key.back() == L'\\') {
        key.pop_back();
    }
    return key;
}

std::wstring MemoryFileSystem::Parent(const std::wstring& key) {
    const std::size_t slash = key.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : key.substr(0, slash);
}

bool MemoryFileSystem::ValidName(const std::wstring& path) const {
    // Characters a Windows file name may not hold (beyond the separators and the drive colon).
    for (std::size_t i = 0; i < path.size(); ++i) {
        const wchar_t c = path[i];
        if (c == L'<' || c == L'>' || c == L'"' || c == L'|' || c < 32 || (c == L':' && i != 1)) {
            return false;
        }
    }
    return true;
}

void MemoryFileSystem::AddDirectory(const std::wstring& path) {
    std::wstring key = Key(path);
    while (!key.empty() && !directories_.count(key)) {
        directories_.insert(key);
        names_[key] = path.substr(0, key.size());
        key = Parent(key);
    }
}

void MemoryFileSystem::AddFile(const std::wstring& path, std::string content) {
    AddFile(path, std::move(content), File{});
}

void MemoryFileSystem::AddFile(const std::wstring& path, std::string content, File attributes) {
    const std::wstring key = Key(path);
    AddDirectory(path.substr(0, Parent(key).size()));
    attributes.content = std::move(content);
    files_[key] = std::move(attributes);
    names_[key] = path;
}

bool MemoryFileSystem::HasFile(const std::wstring& path) const {
    return files_.count(Key(path));
}

bool MemoryFileSystem::HasDirectory(const std::wstring& path) const {
    return directories_.count(Key(path));
}

std::string MemoryFileSystem::Content(const std::wstring& path) const {
    auto it = files_.find(Key(path));
    return it == files_.end() ? std::string() : it->second.content;
}

MemoryFileSystem::File& MemoryFileSystem::FileAt(const std::wstring& path) {
    return files_.at(Key(path));
}

std::vector<std::wstring> MemoryFileSystem::FilesIn(const std::wstring& directory) const {
    std::vector<std::wstring> result;
    const std::wstring dir = Key(directory);
    for (const auto& [key, file] : files_) {
        if (Parent(key) == dir) {
            result.push_back(LastSegment(key));
        }
    }
    return result;
}

CreateDirectoryResult MemoryFileSystem::CreateDirectory(const std::wstring& path) {
    const std::wstring key = Key(path);
    if (key.empty() || !ValidName(path)) {
        return CreateDirectoryResult::OtherError;
    }
    if (directories_.count(key) || files_.count(key)) {
        return CreateDirectoryResult::PathFileAccess;
    }
    if (!directories_.count(Parent(key))) {
        return CreateDirectoryResult::OtherError;
    }
    directories_.insert(key);
    names_[key] = path;
    return CreateDirectoryResult::Created;
}

std::optional<std::vector<DirectoryEntry>> MemoryFileSystem::List(const std::wstring& pattern) {
    if (pattern.empty() || !ValidName(pattern)) {
        return std::nullopt;
    }
    std::wstring key = AsciiLower(pattern);
    for (wchar_t& c : key) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    std::vector<DirectoryEntry> result;
    if (key.back() == L'\\') {
        const std::wstring dir = Key(key);
        if (directories_.count(dir)) {
            result.push_back({L".", true, false, false});
        }
        return result;
    }
    const std::wstring parent = Parent(key);
    const std::wstring leaf = LastSegment(key);
    for (const auto& [fileKey, file] : files_) {
        if (Parent(fileKey) == parent && WildcardMatch(leaf, LastSegment(fileKey)) &&
            !file.hidden && !file.system) {
            result.push_back({LastSegment(names_[fileKey]), false, file.hidden, file.system});
        }
    }
    for (const std::wstring& dir : directories_) {
        if (Parent(dir) == parent && WildcardMatch(leaf, LastSegment(dir))) {
            result.push_back({LastSegment(names_[dir]), true, false, false});
        }
    }
    return result;
}

bool MemoryFileSystem::DeleteFile(const std::wstring& path) {
    auto it = files_.find(Key(path));
    if (it == files_.end() || it->second.locked || it->second.readOnly) {
        return false;
    }
    files_.erase(it);
    return true;
}

std::optional<std::string> MemoryFileSystem::ReadFirstLine(const std::wstring& path) {
    auto it = files_.find(Key(path));
    if (it == files_.end() || it->second.locked) {
        return std::nullopt;
    }
    const std::string& content = it->second.content;
    return content.substr(0, content.find_first_of("\r\n"));
}

bool MemoryFileSystem::CopyFile(const std::wstring& from, const std::wstring& to) {
    auto source = files_.find(Key(from));
    const std::wstring target = Key(to);
    if (source == files_.end() || source->second.locked || !ValidName(to) || target.empty() ||
        directories_.count(target) || !directories_.count(Parent(target))) {
        return false;
    }
    auto existing = files_.find(target);
    if (existing != files_.end() && (existing->second.readOnly || existing->second.locked)) {
        return false;
    }
    File copy = source->second;
    files_[target] = copy;
    names_[target] = to;
    return true;
}

std::unique_ptr<FileWriter> MemoryFileSystem::CreateForWriting(const std::wstring& path) {
    const std::wstring key = Key(path);
    if (failCreates_ || !ValidName(path) || key.empty() || directories_.count(key) ||
        !directories_.count(Parent(key))) {
        return nullptr;
    }
    auto existing = files_.find(key);
    if (existing != files_.end() && (existing->second.readOnly || existing->second.locked)) {
        return nullptr;
    }
    files_[key] = File{};
    names_[key] = path;
    return std::make_unique<Writer>(*this, key);
}

bool MemoryFileSystem::MoveReplacing(const std::wstring& from, const std::wstring& to) {
    auto source = files_.find(Key(from));
    const std::wstring target = Key(to);
    if (source == files_.end() || directories_.count(target) ||
        !directories_.count(Parent(target))) {
        return false;
    }
    auto existing = files_.find(target);
    if (existing != files_.end() && (existing->second.readOnly || existing->second.locked)) {
        return false;
    }
    File moved = std::move(source->second);
    files_.erase(source);
    files_[target] = std::move(moved);
    names_[target] = to;
    return true;
}

} // namespace folivex::testing
