#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "AtomicFile.h"
#include "BitmapFont.h"
#include "Command.h"
#include "FrameClock.h"
#include "GLTarget.h"
#include "ImageCodec.h"
#include "KeptContext.h"
#include "PluginDescription.h"
#include "PluginInstance.h"
#include "PluginLibrary.h"
#include "RenderOptions.h"
#include "glcontext/HostGL.h"
#include "glcontext/OffscreenContext.h"
#include "host/HostCall.h"

// <windows.h> (through the GL headers) maps DrawText to DrawTextA.
#ifdef DrawText
#undef DrawText
#endif

namespace {

const char* const sheetUsage =
    "usage: ffgl-host sheet PLUGIN -o SHEET.png [--columns N] [--thumb WxH]\n"
    "A contact sheet of the built-in test picture: one row per numeric\n"
    "parameter, its value swept from 0 to 1 across the columns (default 6)\n"
    "with every other parameter at its default; thumbnails 160x90 by default.\n"
    "Each thumbnail is a fresh instance's frame 1 s after set-up on the fixed\n"
    "clock, so a speed parameter shows how far it moves the picture in 1 s.\n";

int Fail(const std::string& message) {
  std::fprintf(stderr, "ffgl-host sheet: %s\n", message.c_str());
  return 1;
}

struct SheetOptions {
  std::string plugin;
  std::string output;
  int columns = 6;
  int thumbWidth = 160;
  int thumbHeight = 90;
  bool help = false;
};

bool ParseSheetOptions(const CommandArgs& args, SheetOptions& options, std::string& error) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "-o" && hasValue) {
      options.output = args[++i];
    } else if (arg == "--columns" && hasValue) {
      double number = 0.0;
      if (!ParseNumber(args[++i], number) || number < 2 || number > 64 ||
          number != static_cast<int>(number)) {
        error = "column count '" + args[i] + "' is not a whole number from 2 to 64";
        return false;
      }
      options.columns = static_cast<int>(number);
    } else if (arg == "--thumb" && hasValue) {
      char tail = 0;
      int width = 0;
      int height = 0;
      if (std::sscanf(args[++i].c_str(), "%dx%d%c", &width, &height, &tail) != 2 || width < 8 ||
          height < 8 || width > 2048 || height > 2048) {
        error = "thumbnail size '" + args[i] + "' is not WxH between 8x8 and 2048x2048";
        return false;
      }
      options.thumbWidth = width;
      options.thumbHeight = height;
    } else if (!arg.empty() && arg[0] == '-') {
      error = "unknown option or missing value: '" + arg + "'";
      return false;
    } else if (options.plugin.empty()) {
      options.plugin = arg;
    } else {
      error = "more than one plug-in named: '" + arg + "'";
      return false;
    }
  }
  if (options.help) return true;
  if (options.plugin.empty()) {
    error = "no plug-in named";
    return false;
  }
  if (options.output.empty()) {
    error = "no output named (-o SHEET.png)";
    return false;
  }
  return true;
}

std::string FormatValue(float value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", static_cast<double>(value));
  return text;
}

// A top-row-first RGBA8 picture the thumbnails and labels are laid into.
struct Canvas {
  int width;
  int height;
  std::vector<std::uint8_t> pixels;

  Canvas(int width, int height, std::uint32_t background)
      : width(width), height(height), pixels(static_cast<std::size_t>(width) * height * 4) {
    for (std::size_t i = 0; i < pixels.size(); i += 4) {
      pixels[i] = static_cast<std::uint8_t>(background >> 24);
      pixels[i + 1] = static_cast<std::uint8_t>(background >> 16);
      pixels[i + 2] = static_cast<std::uint8_t>(background >> 8);
      pixels[i + 3] = static_cast<std::uint8_t>(background);
    }
  }

  // `thumb` top row first, thumbWidth x thumbHeight. Alpha is made opaque:
  // the sheet shows colour, and an effect's alpha may be anything.
  void Place(const std::uint8_t* thumb, int thumbWidth, int thumbHeight, int x, int y) {
    for (int row = 0; row < thumbHeight; ++row) {
      std::uint8_t* to = pixels.data() + (static_cast<std::size_t>(y + row) * width + x) * 4;
      const std::uint8_t* from = thumb + static_cast<std::size_t>(row) * thumbWidth * 4;
      for (int column = 0; column < thumbWidth; ++column) {
        to[column * 4] = from[column * 4];
        to[column * 4 + 1] = from[column * 4 + 1];
        to[column * 4 + 2] = from[column * 4 + 2];
        to[column * 4 + 3] = 255;
      }
    }
  }

  void Text(int x, int y, const std::string& text, std::uint32_t rgba) {
    bitmapfont::DrawText(pixels.data(), width, height, x, y, text, rgba);
  }
};

constexpr std::uint32_t backgroundColour = 0x202020FFu;
constexpr std::uint32_t textColour = 0xE0E0E0FFu;
constexpr std::uint32_t dimColour = 0x909090FFu;
constexpr int margin = 8;
constexpr int gap = 4;
constexpr int lineHeight = bitmapfont::glyphHeight + 3;

// One thumbnail: a fresh instance, every parameter at its default except
// `swept` at `value`, rendered once on the fixed clock.
bool RenderThumb(const PluginLibrary& plugin, const PluginDescription& description,
                 const ParameterDescription& swept, float value, InputTexture& input,
                 RenderTarget& target, int width, int height, std::vector<std::uint8_t>& out,
                 std::string& error) {
  FrameClock clock(1.0, false);
  clock.BeforeSetup();
  target.Prepare();
  const ViewportRecord viewport{0, 0, static_cast<std::uint32_t>(width),
                                static_cast<std::uint32_t>(height)};
  auto instance = PluginInstance::Create(plugin, viewport, error);
  if (!instance) return false;
  for (const ParameterDescription& param : description.parameters) {
    if (param.type == ParamTypeText) continue;
    const float number = param.index == swept.index ? value : param.defaultValue;
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(number));
    if (!instance->SetParameter(param, text, error)) return false;
  }
  clock.BeforeFrame(1);
  target.Prepare();
  input.Prepare();
  if (!instance->RenderFrame(&input.Record(), 0, error)) return false;
  target.StartReadback();
  if (!target.FinishReadback(out.data())) {
    error = "cannot read back a thumbnail";
    return false;
  }
  return true;
}

}  // namespace

int RunSheet(const CommandArgs& args) {
  SheetOptions options;
  std::string error;
  if (!ParseSheetOptions(args, options, error)) {
    return Fail(error + " (ffgl-host sheet --help lists the options)");
  }
  if (options.help) {
    std::fputs(sheetUsage, stdout);
    return 0;
  }
  auto plugin = PluginLibrary::Open(options.plugin, error);
  if (!plugin) return Fail(error);
  const LibraryCloser closer{*plugin};
  PluginDescription description;
  if (!ReadPluginDescription(*plugin, description, error)) return Fail(error);
  if (description.maxInputs < 1) return Fail("plug-in takes no input; sheet feeds one");
  std::vector<const ParameterDescription*> rows;
  for (const ParameterDescription& param : description.parameters) {
    if (param.type != ParamTypeText) rows.push_back(&param);
  }
  if (rows.empty()) return Fail("plug-in has no numeric parameter to sweep");

  const int thumbW = options.thumbWidth;
  const int thumbH = options.thumbHeight;
  int labelWidth = bitmapfont::TextWidth("default 0.00");
  for (const ParameterDescription* param : rows) {
    labelWidth = std::max(labelWidth, bitmapfont::TextWidth(param->name));
  }
  labelWidth += gap * 2;
  const int cellHeight = thumbH + lineHeight + gap;
  const int sheetWidth = margin * 2 + labelWidth + options.columns * (thumbW + gap) - gap;
  const int sheetHeight =
      margin * 2 + lineHeight + gap + static_cast<int>(rows.size()) * cellHeight;
  Canvas canvas(sheetWidth, sheetHeight, backgroundColour);
  canvas.Text(margin, margin,
              description.name + " " + description.uniqueId +
                  " - each row sweeps one parameter from 0 to 1 - the others at default",
              textColour);

  auto context = OffscreenContext::Create(error);
  if (!context) return Fail("no GL context: " + error);
  const KeepContextAtScopeEnd keepContext{context};
  HostGL gl;
  if (!gl.Load(*context)) return Fail("the GL context lacks framebuffer or shader entry points");
  InputTexture input(gl);
  if (!input.Create(thumbW, thumbH, false, error)) return Fail(error);
  std::vector<std::uint8_t> picture(static_cast<std::size_t>(thumbW) * thumbH * 4);
  MakeTestPicture(thumbW, thumbH, picture.data());
  input.Upload(picture.data());
  RenderTarget target(gl);
  if (!target.Create(thumbW, thumbH, false, error)) return Fail(error);
  std::vector<std::uint8_t> thumb(target.FrameBytes());

  for (std::size_t row = 0; row < rows.size(); ++row) {
    const ParameterDescription& param = *rows[row];
    const int top = margin + lineHeight + gap + static_cast<int>(row) * cellHeight;
    canvas.Text(margin, top + thumbH / 2 - lineHeight, param.name, textColour);
    canvas.Text(margin, top + thumbH / 2 + 2, "default " + FormatValue(param.defaultValue),
                dimColour);
    for (int column = 0; column < options.columns; ++column) {
      const float value = static_cast<float>(column) / static_cast<float>(options.columns - 1);
      if (!RenderThumb(*plugin, description, param, value, input, target, thumbW, thumbH, thumb,
                       error)) {
        return Fail(error);
      }
      const int left = margin + labelWidth + column * (thumbW + gap);
      canvas.Place(thumb.data(), thumbW, thumbH, left, top);
      const std::string label = FormatValue(value);
      canvas.Text(left + (thumbW - bitmapfont::TextWidth(label)) / 2, top + thumbH + 2, label,
                  textColour);
    }
  }

  std::vector<std::uint8_t> png;
  if (!EncodePng(canvas.pixels.data(), canvas.width, canvas.height, png)) {
    return Fail("cannot encode the sheet as PNG");
  }
  AtomicFile file;
  if (!file.Open(options.output, error) || !file.Write(png.data(), png.size(), error) ||
      !file.Commit(error)) {
    return Fail(error);
  }
  return 0;
}
