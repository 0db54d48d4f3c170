// Test support around the recording mail client: making it the system's default mail client for a while, and
// reading back the calls it recorded. Used by tests that drive Simple MAPI end to end through Wine's mapi32.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace mailrecord {

// Registers the recorder under HKLM\Software\Clients\Mail as the default client (DLLPath, and DLLPathEx so
// that mapi32 hands MAPIFreeBuffer to it too) and puts back the previous default when it ends. It must be in
// place before MAPI32 is loaded into the process, which reads the registration when it is loaded.
class RecorderAsDefaultClient {
 public:
  RecorderAsDefaultClient();
  ~RecorderAsDefaultClient();
  RecorderAsDefaultClient(const RecorderAsDefaultClient&) = delete;
  RecorderAsDefaultClient& operator=(const RecorderAsDefaultClient&) = delete;
  bool ok() const { return m_ok; }

 private:
  bool m_ok = false;
  bool m_hadDefault = false;
  std::string m_previousDefault;
};

// One recorded call: the function and its fields in the order written (a field without a value: null).
struct Call {
  std::string function;
  std::vector<std::pair<std::string, std::optional<std::string>>> fields;
  // The nth value of key; nullopt when absent or null.
  std::optional<std::string> Text(const std::string& key, size_t nth = 0) const;
  // Whether the nth field of key was written with no value (a null string).
  bool IsNull(const std::string& key, size_t nth = 0) const;
  unsigned long Number(const std::string& key, size_t nth = 0) const;
  std::vector<std::string> All(const std::string& key) const;
};

std::vector<Call> ReadRecord(const std::string& path);
// The calls of one function, in order.
std::vector<Call> CallsOf(const std::vector<Call>& calls, const std::string& function);

}  // namespace mailrecord
