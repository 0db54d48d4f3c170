// Registering the recording mail client and reading its record.
#include "recorder_client.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "mail_record.h"

namespace mailrecord {

namespace {

const char kMailClientsKey[] = "Software\\Clients\\Mail";
const char* const kDllPathValues[] = {"DLLPath", "DLLPathEx"};

std::string BinFolder() {
  char exe[MAX_PATH];
  GetModuleFileNameA(NULL, exe, MAX_PATH);
  std::string path = exe;
  return path.substr(0, path.rfind('\\') + 1);
}

bool SetText(HKEY key, const char* value, const std::string& text) {
  return RegSetValueExA(key, value, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), DWORD(text.size() + 1)) ==
         ERROR_SUCCESS;
}

}  // namespace

RecorderAsDefaultClient::RecorderAsDefaultClient() {
  HKEY clients, client;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kMailClientsKey, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &clients, NULL) !=
      ERROR_SUCCESS)
    return;
  char previous[MAX_PATH] = {};
  DWORD size = sizeof previous - 1, type = 0;
  m_hadDefault = RegQueryValueExA(clients, NULL, NULL, &type, reinterpret_cast<BYTE*>(previous), &size) ==
                     ERROR_SUCCESS && type == REG_SZ;
  if (m_hadDefault) m_previousDefault = previous;
  if (RegCreateKeyExA(clients, kClientName, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &client, NULL) == ERROR_SUCCESS) {
    m_ok = true;
    for (const char* value : kDllPathValues) m_ok = SetText(client, value, BinFolder() + kDllName) && m_ok;
    RegCloseKey(client);
    m_ok = SetText(clients, NULL, kClientName) && m_ok;
  }
  RegCloseKey(clients);
}

RecorderAsDefaultClient::~RecorderAsDefaultClient() {
  HKEY clients;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kMailClientsKey, 0, KEY_ALL_ACCESS, &clients) != ERROR_SUCCESS) return;
  if (m_hadDefault)
    SetText(clients, NULL, m_previousDefault);
  else
    RegDeleteValueA(clients, NULL);
  RegDeleteKeyA(clients, kClientName);
  RegCloseKey(clients);
}

std::optional<std::string> Call::Text(const std::string& key, size_t nth) const {
  for (const auto& field : fields)
    if (field.first == key && nth-- == 0) return field.second;
  return std::nullopt;
}

bool Call::IsNull(const std::string& key, size_t nth) const {
  for (const auto& field : fields)
    if (field.first == key && nth-- == 0) return !field.second.has_value();
  return false;
}

unsigned long Call::Number(const std::string& key, size_t nth) const {
  const std::optional<std::string> text = Text(key, nth);
  return text ? std::strtoul(text->c_str(), nullptr, 10) : 0;
}

std::vector<std::string> Call::All(const std::string& key) const {
  std::vector<std::string> values;
  for (const auto& field : fields)
    if (field.first == key) values.push_back(field.second.value_or("(null)"));
  return values;
}

namespace {

std::string Unescape(const std::string& text) {
  std::string plain;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      plain += char(std::strtoul(text.substr(i + 1, 2).c_str(), nullptr, 16));
      i += 2;
    } else {
      plain += text[i];
    }
  }
  return plain;
}

}  // namespace

std::vector<Call> ReadRecord(const std::string& path) {
  std::vector<Call> calls;
  std::FILE* in = std::fopen(path.c_str(), "r");
  if (!in) return calls;
  std::string line;
  for (int c = std::fgetc(in); c != EOF; c = std::fgetc(in)) {
    if (c != '\n') {
      line += char(c);
      continue;
    }
    const size_t equals = line.find('=');
    const std::string key = line.substr(0, equals);
    std::optional<std::string> value;
    if (equals != std::string::npos) value = Unescape(line.substr(equals + 1));
    line.clear();
    if (key == kCall) {
      calls.emplace_back();
      calls.back().function = value.value_or("");
    } else if (!calls.empty()) {
      calls.back().fields.emplace_back(key, value);
    }
  }
  std::fclose(in);
  return calls;
}

std::vector<Call> CallsOf(const std::vector<Call>& calls, const std::string& function) {
  std::vector<Call> found;
  for (const Call& call : calls)
    if (call.function == function) found.push_back(call);
  return found;
}

}  // namespace mailrecord
