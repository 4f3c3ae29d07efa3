// fsync in the browser's engine, in place of emscripten's own: a file's fsync writes its mount
// to the browser's storage (IndexedDB for the records) and waits for it (ASYNCIFY). Emscripten
// 3.1.6 hands a refusal back as a function where the status goes, which the engine reads as 0,
// so a save the browser refused was reported as made; here it is EIO, as a failed disk write.
mergeInto(LibraryManager.library, {
  fd_sync__sig: 'ii',
  fd_sync: function(fd) {
    var stream;
    try {
      stream = SYSCALLS.getStreamFromFD(fd);
    } catch (e) {
      if (typeof FS == 'undefined' || !(e instanceof FS.ErrnoError)) throw e;
      return e.errno;
    }
    return Asyncify.handleSleep(function(wakeUp) {
      var mount = stream.node.mount;
      if (!mount.type.syncfs) {
        wakeUp(0);
        return;
      }
      mount.type.syncfs(mount, false, function(err) {
        wakeUp(err ? {{{ cDefine('EIO') }}} : 0);
      });
    });
  },
});
