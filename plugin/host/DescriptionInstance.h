#pragma once

class CFreeFrameGLPlugin;

// The one instance that answers the host's plug-in-wide questions. It is
// made through the registration's factory on first need and kept until
// CloseDescriptionInstance; it is never set up, attached or rendered.
extern CFreeFrameGLPlugin* descriptionInstance;

// Null if there is no registration or the factory fails.
CFreeFrameGLPlugin* HaveDescriptionInstance();
void CloseDescriptionInstance();
