// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/dialogs/TBrowseForFolder.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>
#include <QWidget>

#include <array>
#include <utility>

namespace torvane {
namespace {

// Option bits of the shell's browse request, indexed by TBrowseFlag.
constexpr std::array<std::uint32_t, 7> kFlagBits = {
    0x1000,  // BIF_BROWSEFORCOMPUTER
    0x2000,  // BIF_BROWSEFORPRINTER
    0x0002,  // BIF_DONTGOBELOWDOMAIN
    0x0004,  // BIF_STATUSTEXT
    0x0008,  // BIF_RETURNFSANCESTORS
    0x0001,  // BIF_RETURNONLYFSDIRS
    0x0010,  // BIF_EDITBOX
};
constexpr std::uint32_t kValidateBit = 0x0020;  // BIF_VALIDATE

// CSIDL_DESKTOP to CSIDL_PRINTHOOD, indexed from bl_DESKTOP on.
constexpr std::array<int, 23> kSpecialFolderIds = {
    0x00, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x10,
    0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0x1A, 0x1B,
};

QString Writable(QStandardPaths::StandardLocation location) {
  return QStandardPaths::writableLocation(location);
}

}  // namespace

std::uint32_t BrowseOptionBits(TBrowseFlags flags) {
  std::uint32_t bits = kValidateBit;
  for (std::size_t i = 0; i < kFlagBits.size(); ++i)
    if (flags.Contains(static_cast<TBrowseFlag>(i))) bits |= kFlagBits[i];
  return bits;
}

std::optional<int> SpecialFolderId(TBrowseLocation root) {
  const auto index = static_cast<int>(root) - static_cast<int>(TBrowseLocation::bl_DESKTOP);
  if (index < 0) return std::nullopt;
  return kSpecialFolderIds[static_cast<std::size_t>(index)];
}

// Only the folders this desktop knows have a counterpart; the picker cannot
// confine the user to a subtree anyway, so the location only decides where
// it opens.
QString LocationPath(TBrowseLocation root) {
  using L = TBrowseLocation;
  switch (root) {
    case L::bl_DESKTOP:
    case L::bl_DESKTOPDIRECTORY:
    case L::bl_COMMON_DESKTOPDIRECTORY:
      return Writable(QStandardPaths::DesktopLocation);
    case L::bl_PERSONAL:
      return Writable(QStandardPaths::DocumentsLocation);
    case L::bl_PROGRAMS:
    case L::bl_STARTMENU:
    case L::bl_COMMON_STARTMENU:
    case L::bl_COMMON_PROGRAMS:
      return Writable(QStandardPaths::ApplicationsLocation);
    case L::bl_FONTS:
      return Writable(QStandardPaths::FontsLocation);
    case L::bl_APPDATA:
      return Writable(QStandardPaths::GenericDataLocation);
    case L::bl_DRIVES:
      return QDir::rootPath();
    default:
      return {};
  }
}

TBrowseForFolder::TBrowseForFolder(QWidget* owner) : QObject(owner), owner_(owner) {}

bool TBrowseForFolder::Execute() {
  BrowseRequest request;
  request.owner = owner_ != nullptr ? owner_->window() : nullptr;
  request.title = caption_;
  request.startFolder = folderName_;
  request.statusText = statusText_;
  request.flags = flags_;
  request.optionBits = BrowseOptionBits(flags_);
  if (root_ == TBrowseLocation::bl_CUSTOM)
    request.rootPath = customRoot_;
  else
    request.rootPath = LocationPath(root_);

  const std::optional<QString> chosen = picker_ ? picker_(request) : DesktopPicker(request);
  if (!chosen || chosen->isEmpty()) return false;

  // A root keeps its separator ("/", "C:\"), any other folder loses it.
  const QString clean = QDir::cleanPath(*chosen);
  folderName_ = QDir::toNativeSeparators(clean);
  displayName_ = QFileInfo(clean).fileName();
  if (displayName_.isEmpty()) displayName_ = folderName_;
  return true;
}

std::optional<QString> TBrowseForFolder::DesktopPicker(const BrowseRequest& request) {
  const QString start = request.startFolder.isEmpty() ? request.rootPath : request.startFolder;
  const QString chosen =
      QFileDialog::getExistingDirectory(request.owner, request.title, start,
                                        QFileDialog::ShowDirsOnly);
  if (chosen.isEmpty()) return std::nullopt;
  return chosen;
}

}  // namespace torvane
