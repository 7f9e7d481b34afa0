#pragma once

// Picks Qt Quick's renderer before the first window: its software renderer.
// Quillfen's windows are small lists of text and icons, which it draws in
// a few milliseconds, and without it an OpenGL driver would be loaded into
// a tray that runs all day: on a machine without a GPU (llvmpipe) that alone
// took 55 MiB and doubled the panel's first open. A choice made by the user
// through Qt's environment variables wins.
namespace SceneBackend {

void choose();

} // namespace SceneBackend
