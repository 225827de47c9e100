// exit() in a page: the running main loop holds the module alive, and
// Emscripten's exit() then stops the program without ending it, so no exit
// status would reach the page (onExit).  Here the module is let go first,
// so every exit() of the program ends it; an ended module runs no further
// pass of its loop.
mergeInto(LibraryManager.library, {
  exit: function(status) {
    runtimeKeepaliveCounter = 0;
    exit(status);
  },
});
