#include "support/fakes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace morlane::testing {

std::optional<platform::ExitStatus> ExitOf(const std::function<void()>& code) {
  try {
    code();
  } catch (const platform::ProcessEnded& ended) {
    return ended.status;
  }
  return std::nullopt;
}

TempDir::TempDir() {
  namespace fs = std::filesystem;
  const fs::path base = fs::temp_directory_path();
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path candidate = base / ("morlane-test-" + std::to_string(random()));
    // Creating it is the claim: false when another test got the name first.
    if (fs::create_directory(candidate)) {
      path_ = candidate.string();
      return;
    }
  }
  throw std::runtime_error("no temporary directory could be made in " + base.string());
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

std::vector<std::string> FolderEntries(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool FileExistsOnDisk(const std::string& path) {
  std::error_code ignored;
  return std::filesystem::exists(path, ignored);
}

void WriteFile(const std::string& path, const std::string& bytes) {
  const auto parent = std::filesystem::path(path).parent_path();
  if (!parent.empty()) std::filesystem::create_directories(parent);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

bool FakeProcess::FileExists(const std::string& path) const {
  if (memoryFiles) return files.count(path) != 0;
  std::error_code ignored;
  return !path.empty() && std::filesystem::is_regular_file(NativePath(path), ignored);
}

std::string FakeProcess::FileVersion(const std::string& path) const {
  if (memoryFiles) {
    const auto it = files.find(path);
    return it == files.end() ? std::string() : "=" + it->second;
  }
  // The content itself: a test's writes may come within one tick of the clock.
  return FileExists(path) ? "=" + ReadFile(NativePath(path)) : std::string();
}

bool FakeProcess::AppendToFile(const std::string& path, const std::string& bytes) {
  if (path.empty() || unwritable.count(path) != 0) return false;
  if (memoryFiles) {
    files[path] += bytes;
    return true;
  }
  std::ofstream out(NativePath(path), std::ios::binary | std::ios::app);
  if (!out) return false;
  out << bytes;
  out.close();
  return static_cast<bool>(out);
}

platform::Choice ScriptedDialogs::ShowMessage(const platform::MessageRequest& request) {
  if (failures > 0) {
    --failures;
    throw std::runtime_error("message box failed");
  }
  shown.push_back(request);
  if (answers.empty()) {
    ADD_FAILURE() << "unexpected message box: " << request.text;
    return request.defaultButton;
  }
  const platform::Choice answer = answers.front();
  answers.pop_front();
  return answer;
}

std::vector<std::string> ScriptedDialogs::Texts() const {
  std::vector<std::string> texts;
  for (const auto& box : shown)
    texts.push_back(box.text);
  return texts;
}

std::uint32_t UnusedProfile::GetString(std::string_view, std::string_view, std::string_view,
                                       char* buffer, std::uint32_t size, const std::string&) {
  ADD_FAILURE() << "unexpected INI read";
  if (size > 0) buffer[0] = '\0';
  return 0;
}

std::uint32_t UnusedProfile::GetInt(std::string_view, std::string_view, std::int32_t d,
                                    const std::string&) {
  ADD_FAILURE() << "unexpected INI read";
  return static_cast<std::uint32_t>(d);
}

int UnusedProfile::WriteString(std::string_view, std::string_view, std::string_view,
                               const std::string&) {
  ADD_FAILURE() << "unexpected INI write";
  return 0;
}

}  // namespace morlane::testing
