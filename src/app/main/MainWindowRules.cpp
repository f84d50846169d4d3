// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainWindowRules.h"

namespace torvane {

CommandLineRequest ReadCommandLine(const std::vector<std::string>& arguments) {
  CommandLineRequest request;
  if (arguments.empty()) return request;
  for (const std::string& argument : arguments) request.path += argument;
  request.first = arguments.front();
  request.kind = request.path == "/C" ? CommandLineRequest::Kind::Clipboard
                                      : CommandLineRequest::Kind::File;
  return request;
}

int LeftPaneWidth(int clientWidth) {
  const int half = clientWidth / 2;
  if (clientWidth % 2 == 0) return half;
  // An odd width lies halfway between half and half + 1.
  return half % 2 == 0 ? half : half + 1;
}

}  // namespace torvane
