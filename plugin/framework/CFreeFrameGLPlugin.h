#pragma once

#include <cstdint>

#include "framework/CFFGLPluginManager.h"
#include "host/HostRecords.h"

// The base of every effect instance: the fifteen operations the entry point
// drives an instance through, in their fixed slot order, each with a safe
// default. Effects override what they need. All operations run on the host's
// thread; those that touch GL run with the host's context current.
class CFreeFrameGLPlugin : public CFFGLPluginManager {
 public:
  CFreeFrameGLPlugin() = default;

  // --- slot 0: destruction; calls no GL function
  ~CFreeFrameGLPlugin() override = default;

  // --- slots 1-2: GL resources, with the host's context current
  virtual std::uint32_t SetupGL(const ViewportRecord* viewport);
  virtual std::uint32_t ReleaseGL();

  // --- slots 3-7: parameters
  // Numeric values are printed into one buffer shared by the whole library,
  // valid until the next numeric display-text call of any instance.
  virtual const char* ParamDisplayText(std::uint32_t index);
  virtual std::uint32_t SetParamValue(std::uint32_t index, float value);
  virtual std::uint32_t SetParamText(std::uint32_t index, const char* text);
  virtual float GetParamValue(std::uint32_t index);
  // The base answers ResultFailure as a pointer with all bits set.
  virtual const char* GetParamText(std::uint32_t index);

  // --- slot 8: drawing, into the framebuffer the host has bound
  virtual std::uint32_t RenderFrame(const FrameRecord* frame);

  // --- slots 9-11: host time, inputs, extra value
  virtual std::uint32_t SetHostTime(double time);
  virtual std::uint32_t InputStatus(std::uint32_t index);
  virtual MixedValue PluginExtraValue();

  // --- slots 12-14: context and viewport notifications
  virtual std::uint32_t AttachContext();
  virtual std::uint32_t DetachContext();
  virtual std::uint32_t ResizeViewport(const ViewportRecord* viewport);

  // Driven by the entry point (codes 17, 19, 21, 22).
  bool contextAttached = false;
  // The instance whose registry and getters answer ParamDisplayText; the
  // creation sequence points it at the instance itself.
  CFreeFrameGLPlugin* displaySource = nullptr;
};
