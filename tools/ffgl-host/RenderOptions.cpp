#include "RenderOptions.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

const char renderUsage[] =
    "usage: ffgl-host render PLUGIN [-i IMAGE] [-p NAME=VALUE]... [--size WxH] [--frames N]\n"
    "                        [--fps F] [--realtime] [--pot] [--float] [--quiet] -o OUT\n"
    "  -i IMAGE      input picture (PNG, or any format stb_image reads); a pattern such as\n"
    "                in%04d.png reads a numbered sequence (from 0, or from 1 if 0 is missing);\n"
    "                '-' reads raw RGBA8 frames from stdin until EOF (needs --size);\n"
    "                without -i a built-in test picture is used (640x360 unless --size)\n"
    "  -o OUT        output: .png (a pattern such as out%04d.png for several frames),\n"
    "                .raw (raw frames one after another), or '-' for raw frames on stdout\n"
    "  -p NAME=VALUE set a parameter, by name (any case) or index; numbers for numeric\n"
    "                parameters, any text for text parameters\n"
    "  --size WxH    output size (default: the input's size)\n"
    "  --frames N    number of frames (default 1; all of a sequence or pipe)\n"
    "  --fps F       frame rate of the plug-in's clock (default 30): frame i sees exactly\n"
    "                i/F seconds since set-up\n"
    "  --realtime    pace frames by the wall clock and let the plug-in read the real clock\n"
    "  --pot         place the input inside a power-of-two texture, as many hosts do\n"
    "  --float       render into RGBA32F and write raw little-endian float32 RGBA\n"
    "                (.raw or stdout only; PNG output is refused)\n"
    "  --quiet       no progress line\n"
    "Raw frames are RGBA, rows top to bottom, no padding.\n";

bool ParseNumber(const std::string& text, double& value) {
  if (text.empty()) return false;
  const char first = text.front();
  if (!(first == '-' || first == '+' || first == '.' || (first >= '0' && first <= '9'))) {
    return false;  // strtod would skip spaces and accept "nan"/"inf"
  }
  errno = 0;
  char* end = nullptr;
  const double parsed = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size() || errno == ERANGE || !std::isfinite(parsed)) {
    return false;
  }
  value = parsed;
  return true;
}

namespace {

bool ParseCount(const std::string& text, long& value) {
  if (text.empty() || text.size() > 9 ||
      text.find_first_not_of("0123456789") != std::string::npos) {
    return false;
  }
  value = std::strtol(text.c_str(), nullptr, 10);
  return true;
}

bool ParseSize(const std::string& text, int& width, int& height) {
  const std::size_t x = text.find('x');
  if (x == std::string::npos) return false;
  long w = 0;
  long h = 0;
  if (!ParseCount(text.substr(0, x), w) || !ParseCount(text.substr(x + 1), h)) return false;
  if (w < 1 || h < 1 || w > maxImageSide || h > maxImageSide) return false;
  width = static_cast<int>(w);
  height = static_cast<int>(h);
  return true;
}

}  // namespace

bool ParseRenderOptions(const CommandArgs& args, RenderOptions& out, std::string& error) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= args.size()) {
        error = arg + " needs a value";
        return false;
      }
      into = args[++i];
      return true;
    };
    std::string text;
    if (arg == "-h" || arg == "--help") {
      out.help = true;
    } else if (arg == "-i") {
      if (!value(out.input)) return false;
      if (out.input.empty()) {
        error = "-i needs a file name or '-'";
        return false;
      }
    } else if (arg == "-o") {
      if (!value(out.output)) return false;
    } else if (arg == "-p") {
      if (!value(text)) return false;
      const std::size_t equals = text.find('=');
      if (equals == std::string::npos || equals == 0) {
        error = "-p needs NAME=VALUE, not '" + text + "'";
        return false;
      }
      out.parameters.emplace_back(text.substr(0, equals), text.substr(equals + 1));
    } else if (arg == "--size") {
      if (!value(text)) return false;
      if (!ParseSize(text, out.width, out.height)) {
        error = "--size needs WxH with sides from 1 to " + std::to_string(maxImageSide) +
                ", not '" + text + "'";
        return false;
      }
    } else if (arg == "--frames") {
      if (!value(text)) return false;
      if (!ParseCount(text, out.frames) || out.frames < 1) {
        error = "--frames needs a whole number of at least 1, not '" + text + "'";
        return false;
      }
    } else if (arg == "--fps") {
      if (!value(text)) return false;
      if (!ParseNumber(text, out.fps) || out.fps <= 0.0 || out.fps > 1e6) {
        error = "--fps needs a number above 0, not '" + text + "'";
        return false;
      }
    } else if (arg == "--realtime") {
      out.realtime = true;
    } else if (arg == "--pot") {
      out.powerOfTwo = true;
    } else if (arg == "--float") {
      out.floatOutput = true;
    } else if (arg == "--quiet") {
      out.quiet = true;
    } else if (!arg.empty() && arg[0] == '-') {
      error = "unknown option '" + arg + "'";
      return false;
    } else if (out.plugin.empty()) {
      out.plugin = arg;
    } else {
      error = "unexpected argument '" + arg + "'";
      return false;
    }
  }
  if (out.help) return true;
  if (out.plugin.empty()) {
    error = "no plug-in given";
    return false;
  }
  if (out.output.empty()) {
    error = "no output given (-o OUT)";
    return false;
  }
  if (out.input == "-" && out.width == 0) {
    error = "raw input (-i -) needs --size";
    return false;
  }
  return true;
}
