// A private test session only: lets its tests read the shell's state, such as
// which window has the focus, through org.gnome.Shell.Eval.
function init() {
    return {
        enable() { global.context.unsafe_mode = true; },
        disable() { global.context.unsafe_mode = false; },
    };
}
