// Names the postcard program uses outside itself: its resource library, registry key and profile values, the
// shared profile file, command-line switches, the Windows profile's clock settings and its files on disk.
#pragma once

namespace quillo {

// The resource library beside the program, and the one message that cannot come from it.
constexpr char kResourceLibrary[] = "quillores.dll";
constexpr char kResourceLibraryMissing[] = "Nexlumen Quillo error 101: 'quillores.dll' missing";

// The profile: HKEY_CURRENT_USER\Software\<kRegistryKey>\<program's base name>\<section>.
constexpr char kRegistryKey[] = "Nexlumen";
constexpr char kPreferencesSection[] = "Preferences";
constexpr char kSenderNameValue[] = "Sender Name";
constexpr char kImageDirectoryValue[] = "Image Directory";
constexpr char kLinkLabelValue[] = "Link Label";
constexpr char kLinkAddressValue[] = "Link Address";
constexpr char kDeliveryServiceValue[] = "Delivery Service";
constexpr char kDeliveryFormatValue[] = "Delivery Format";
constexpr char kPromptDeliveryFormatValue[] = "Prompt Delivery Format";
constexpr char kPromptVideoCompressionValue[] = "Prompt Video Compression";
constexpr char kWarnOutboxFullValue[] = "Warn Outbox Full";
constexpr char kOutboxLimitValue[] = "Outbox Limit";
constexpr char kSettingsSection[] = "Settings";
constexpr char kWelcomeShownValue[] = "Welcome Shown";
// Where the other programs of the suite find this one: "Path" under "Location", and in NEXLUMEN.INI.
constexpr char kLocationSection[] = "Location";
constexpr char kPathValue[] = "Path";
constexpr char kSharedProfileFile[] = "NEXLUMEN.INI";

// The outbox: a folder beside the program.
constexpr char kOutboxFolder[] = "outbox";

// Simple MAPI: the mail library, the Windows profile's switch for it, and the mail profile logged on to first.
constexpr char kMailLibrary[] = "MAPI32.DLL";
constexpr char kMailSection[] = "MAIL";
constexpr char kMailSwitchValue[] = "MAPI";
constexpr char kMailProfilesKey[] = "Software\\Microsoft\\Windows Messaging Subsystem\\Profiles";
constexpr char kDefaultProfileValue[] = "DefaultProfile";

// The system's sound recording settings: the format a recording starts with, and the formats offered.
constexpr char kAudioSettingsKey[] = "Software\\Microsoft\\Multimedia\\Audio";
constexpr char kDefaultFormatValue[] = "DefaultFormat";
constexpr char kSystemFormatsValue[] = "SystemFormats";

// Command-line switches (after '/' or '-', in any case).
constexpr char kNoSplashSwitch[] = "NoSplash";
constexpr char kSoundSwitch[] = "S";

// The Windows profile's clock settings: "iTime" 1 is the 24-hour clock; "iTimePrefix" non-zero puts the
// AM/PM marker before the time.
constexpr char kIntlSection[] = "intl";
constexpr char kTwentyFourHourValue[] = "iTime";
constexpr char kMarkerFirstValue[] = "iTimePrefix";

// The welcome pages, pictures in the program's folder numbered from 1.
constexpr char kWelcomePicture[] = "welcome%d.bmp";
constexpr int kFirstWelcomePage = 1;
constexpr int kWelcomePages = 5;  // the pages the button placements describe

}  // namespace quillo
