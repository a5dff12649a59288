#pragma once

#include <string>

#include "glcontext/HostGL.h"

// The cheapest effect there is: one texture fetch written out unchanged,
// drawn as the same immediate-mode quad a plug-in draws. Its frame time is
// the fill-rate floor of the GL in use, the yardstick a plug-in's frame time
// is measured against.
class PassThrough {
 public:
  explicit PassThrough(const HostGL& gl) : gl(gl) {}
  ~PassThrough();
  PassThrough(const PassThrough&) = delete;
  PassThrough& operator=(const PassThrough&) = delete;

  bool Build(std::string& error);
  // Draws `texture` (unit 0) over the viewport and leaves no program or
  // texture bound.
  void Draw(GLuint texture, float tu, float tv) const;

 private:
  const HostGL& gl;
  GLuint program = 0;
  GLuint shaders[2] = {};
};
