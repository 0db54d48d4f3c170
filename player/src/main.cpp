// The postcard player: reads the card appended to its own file and shows it, or tells the user plainly why
// it cannot. It carries the player marker that the card writer looks for.
#include <windows.h>

#include "card_file.h"
#include "cardpackage/trailer.h"
#include "player_ids.h"
#include "player_window.h"
#include "texts.h"

namespace {

// The marker is carried twice, further apart than its own length and closer than a block, so that one copy
// lies wholly inside one of the file's 65534-byte blocks wherever the linker puts them.
constexpr size_t kMarkerSpacing = 4096;
struct CarriedMarker {
  char first[cardpackage::kPlayerMarkerSize];
  char gap[kMarkerSpacing];
  char second[cardpackage::kPlayerMarkerSize];
};
constexpr CarriedMarker MakeCarriedMarker() {
  CarriedMarker m{};
  for (size_t i = 0; i < cardpackage::kPlayerMarkerSize; ++i) m.first[i] = m.second[i] = cardpackage::kPlayerMarker[i];
  return m;
}

}  // namespace

extern const CarriedMarker g_carriedMarker;
__attribute__((used)) const CarriedMarker g_carriedMarker = MakeCarriedMarker();

namespace {

struct Problem {
  UINT text;
  int exitCode;
};

// What to tell the user about a card that cannot be shown; text 0 when it can.
Problem Judge(const nxplay::ReceivedCard& card) {
  using cardpackage::PackageStatus;
  if (!card.readable) return {IDS_NXPLAY_UNREADABLE, NXPLAY_EXIT_UNREADABLE};
  switch (card.status) {
    case PackageStatus::kOk:
      if (card.trailer.compressed) return {IDS_NXPLAY_COMPRESSED, NXPLAY_EXIT_COMPRESSED};
      return {0, NXPLAY_EXIT_SHOWN};
    case PackageStatus::kNoCard: return {IDS_NXPLAY_NO_CARD, NXPLAY_EXIT_NO_CARD};
    case PackageStatus::kTruncated:
    case PackageStatus::kUnknownVersion: return {IDS_NXPLAY_DAMAGED_INCOMPLETE, NXPLAY_EXIT_DAMAGED};
    case PackageStatus::kBadCardKind:
    case PackageStatus::kPartOutsideFile: return {IDS_NXPLAY_DAMAGED_LAYOUT, NXPLAY_EXIT_DAMAGED};
    case PackageStatus::kChecksumMismatch: return {IDS_NXPLAY_DAMAGED_CHECKSUM, NXPLAY_EXIT_DAMAGED};
    case PackageStatus::kReadError: break;
  }
  return {IDS_NXPLAY_UNREADABLE, NXPLAY_EXIT_UNREADABLE};
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show) {
  const nxplay::ReceivedCard card = nxplay::LoadOwnCard();
  const Problem problem = Judge(card);
  if (problem.text) {
    MessageBoxA(NULL, nxplay::Text(problem.text).c_str(), nxplay::Text(IDS_NXPLAY_CAPTION).c_str(),
                MB_OK | MB_ICONEXCLAMATION | MB_SETFOREGROUND);
    return problem.exitCode;
  }
  nxplay::PlayerWindow player(card);
  if (!player.Create(show)) return NXPLAY_EXIT_UNREADABLE;
  MSG msg;
  while (GetMessageA(&msg, NULL, 0, 0) > 0) {
    if (IsDialogMessageA(player.window(), &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return int(msg.wParam);
}
