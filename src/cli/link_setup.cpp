#include "cli/link_setup.h"

#include <cstdio>

namespace vrellix::cli {

namespace {

constexpr int kBaudRate = 4800;
constexpr int kDataBits = 8;

}  // namespace

std::optional<OpenLink> OpenConfiguredLink(const LinkOverrides& overrides) {
  OpenLink link;
  link.settings = LoadIniSettings(SettingsPath());
  if (overrides.portName) link.settings.portName = *overrides.portName;
  if (overrides.commandDelay) link.settings.m_nCommandDelay = *overrides.commandDelay;
  if (OpenComm(&link.port, PortDeviceName(link.settings), kBaudRate, kDataBits, kNoParity, kOneStopBit) != 1) {
    std::fprintf(stderr, "%s\n", PortFailureMessage(link.settings).c_str());
    return std::nullopt;
  }
  return link;
}

}  // namespace vrellix::cli
