// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "conversion/ConversionState.h"

namespace torvane {

// One "KEY=VALUE" of the converter's --set option: the [convert] key KEY
// (any case, as in main.ini) takes VALUE for one run, on top of what the
// settings files published. Checked more strictly than the file is read,
// since a typing error on the command line should stop the run, not
// quietly fall back: an unknown key, or a value the key cannot take, gives
// the German message (Windows-1252) and leaves `settings` as it was.
std::optional<std::string> ApplyConvertOverride(std::string_view assignment,
                                                ConversionSettings& settings);

}  // namespace torvane
