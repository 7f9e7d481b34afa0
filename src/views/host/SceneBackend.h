#pragma once

// Picks Qt Quick's renderer before the first window: where OpenGL is only a
// software rasterizer (llvmpipe, softpipe: no GPU, a virtual machine, a
// nested session) or missing, Qt Quick's own software renderer draws the
// first frame many times sooner. A choice made by the user through Qt's
// environment variables wins.
namespace SceneBackend {

void choose();

} // namespace SceneBackend
