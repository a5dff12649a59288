#include "framework/PluginRegistration.h"

#include <cstring>
#include <new>

PluginRegistration* registrationPointer = nullptr;

namespace {

// Byte by byte, stopping after the first NUL or at the field's end; the
// field is zeroed first so no byte after the NUL is left over.
template <std::size_t N>
void CopyField(char (&field)[N], const char* text) {
  std::memset(field, 0, N);
  if (text == nullptr) return;
  for (std::size_t i = 0; i < N; ++i) {
    field[i] = text[i];
    if (text[i] == '\0') break;
  }
}

char emptyText[] = "";

// Runs while the library loads, where nothing could catch a throw: if memory
// is short the record points at an empty text instead of taking the host down.
const char* DuplicateText(const char* text) {
  if (text == nullptr) text = emptyText;
  const std::size_t size = std::strlen(text) + 1;
  char* copy = new (std::nothrow) char[size];
  if (copy == nullptr) return emptyText;
  std::memcpy(copy, text, size);
  return copy;
}

void FreeText(const char* text) {
  if (text != emptyText) delete[] text;
}

}  // namespace

PluginRegistration::PluginRegistration(EffectFactory factoryFunction, const char* uniqueId,
                                       const char* name, std::uint32_t apiMajor,
                                       std::uint32_t apiMinor, std::uint32_t versionMajor,
                                       std::uint32_t versionMinor, std::uint32_t pluginType,
                                       const char* description, const char* about,
                                       std::uint32_t extraSize, void* extraData)
    : info{}, details{}, factory(factoryFunction) {
  info.apiMajor = apiMajor;
  info.apiMinor = apiMinor;
  CopyField(info.name, name);
  CopyField(info.uniqueId, uniqueId);
  info.pluginType = pluginType;
  details.about = DuplicateText(about);
  details.description = DuplicateText(description);
  details.versionMajor = versionMajor;
  details.versionMinor = versionMinor;
  details.extraSize = extraSize;
  details.extraData = extraData;
  registrationPointer = this;
}

PluginRegistration::~PluginRegistration() {
  FreeText(details.about);
  FreeText(details.description);
}
