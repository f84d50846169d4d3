// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>

class QWidget;

namespace torvane {

// Options of the folder-browse request, in the order of their option bits.
enum class TBrowseFlag {
  bf_BrowseForComputer,
  bf_BrowseForPrinter,
  bf_DontGoBelowDomain,
  bf_statustext,
  bf_ReturnFSanceStors,
  bf_ReturnOnlyFSDIRS,
  bf_EditBox,
};

// A set of TBrowseFlag; reading it back gives exactly what was written.
class TBrowseFlags {
 public:
  constexpr TBrowseFlags() = default;
  constexpr TBrowseFlags(std::initializer_list<TBrowseFlag> flags) {
    for (TBrowseFlag flag : flags) bits_ |= Bit(flag);
  }
  constexpr bool Contains(TBrowseFlag flag) const { return (bits_ & Bit(flag)) != 0; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr bool operator==(const TBrowseFlags&) const = default;

 private:
  static constexpr std::uint8_t Bit(TBrowseFlag flag) {
    return static_cast<std::uint8_t>(1u << static_cast<unsigned>(flag));
  }
  std::uint8_t bits_ = 0;
};

// Where the browsable tree starts: the whole namespace, a root of the
// component's own, or one of the desktop's special folders.
enum class TBrowseLocation {
  bl_STANDART,
  bl_CUSTOM,
  bl_DESKTOP,
  bl_PROGRAMS,
  bl_CONTROLS,
  bl_PRINTERS,
  bl_PERSONAL,
  bl_FAVORITES,
  bl_STARTUP,
  bl_RECENT,
  bl_SENDTO,
  bl_BITBUCKET,
  bl_STARTMENU,
  bl_DESKTOPDIRECTORY,
  bl_DRIVES,
  bl_NETWORK,
  bl_NETHOOD,
  bl_FONTS,
  bl_TEMPLATES,
  bl_COMMON_STARTMENU,
  bl_COMMON_PROGRAMS,
  bl_COMMON_STARTUP,
  bl_COMMON_DESKTOPDIRECTORY,
  bl_APPDATA,
  bl_PRINTHOOD,
};

// The option bits of the Windows shell's browse request for a set of
// flags, always with the validation bit, as the request is filled there.
std::uint32_t BrowseOptionBits(TBrowseFlags flags);
// The Windows special-folder identifier a location stands for; none for
// bl_STANDART and bl_CUSTOM.
std::optional<int> SpecialFolderId(TBrowseLocation root);
// A folder on this desktop that stands in for the location, where
// there is one; empty otherwise.
QString LocationPath(TBrowseLocation root);

// What the folder picker is asked for.
struct BrowseRequest {
  QWidget* owner = nullptr;
  QString title;        // Caption
  QString startFolder;  // FolderName, preselected when not empty
  QString statusText;
  TBrowseFlags flags;
  std::uint32_t optionBits = 0;
  QString rootPath;  // where the picker opens when there is no start folder
};

// Lets the user pick a folder and returns its path. A thin layer over the
// desktop's folder picker: it fills the request from its properties,
// preselects FolderName and copies the result back.
class TBrowseForFolder : public QObject {
  Q_OBJECT

 public:
  // The chosen path, or nothing when the user cancelled.
  using Picker = std::function<std::optional<QString>(const BrowseRequest&)>;

  // The owner's window owns the picker.
  explicit TBrowseForFolder(QWidget* owner);

  QString DisplayName() const { return displayName_; }
  QString StatusText() const { return statusText_; }
  void SetStatusText(const QString& text) { statusText_ = text; }
  QString FolderName() const { return folderName_; }
  void SetFolderName(const QString& folder) { folderName_ = folder; }
  TBrowseFlags Flags() const { return flags_; }
  void SetFlags(TBrowseFlags flags) { flags_ = flags; }
  TBrowseLocation Root() const { return root_; }
  void SetRoot(TBrowseLocation root) { root_ = root; }
  QString Caption() const { return caption_; }
  void SetCaption(const QString& caption) { caption_ = caption; }

  // For bl_CUSTOM: the folder the tree starts at. No published property
  // sets it.
  void SetCustomRoot(const QString& folder) { customRoot_ = folder; }

  // Shows the picker modally. True when the user confirmed a folder: then
  // FolderName holds its full path (a drive root with its separator, any
  // other folder without one) and DisplayName its name. False when the user
  // cancelled; both keep their values.
  bool Execute();

  // Replaces the desktop's picker, for tests that run without a user; an
  // empty picker brings the desktop's back.
  void SetPicker(Picker picker) { picker_ = std::move(picker); }

  // The desktop's own: Qt's directory dialog.
  static std::optional<QString> DesktopPicker(const BrowseRequest& request);

 private:
  QWidget* owner_;
  QString displayName_;
  QString statusText_ = QStringLiteral("Verzeichnis auswählen");
  QString folderName_ = QStringLiteral("C:\\");
  TBrowseFlags flags_;
  TBrowseLocation root_ = TBrowseLocation::bl_STANDART;
  QString caption_ = QStringLiteral("Auswahl Verzeichnis");
  QString customRoot_;
  Picker picker_;
};

}  // namespace torvane
