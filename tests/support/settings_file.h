// A settings file (rzt_input.ini) naming the port by its device and the
// command delay, as a user would write it.
#pragma once

#include <fstream>
#include <string>

#include "text/text_codec.h"

namespace vrellix::testing {

inline void WriteSettingsFile(const std::string& path, const std::string& device, int commandDelay = 0) {
  const std::string text = *Utf8ToCp932("[シリアル通信設定]\r\nｼﾘｱﾙﾎﾟｰﾄ番号=1\r\nｼﾘｱﾙﾎﾟｰﾄ名=" + device +
                                        "\r\n[赤外線通信設定]\r\nｺﾏﾝﾄﾞDELAY=" + std::to_string(commandDelay) +
                                        "\r\n");
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

}  // namespace vrellix::testing
