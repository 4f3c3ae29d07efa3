// The node runner's start (kiv_node.js): the game folder packed in at /game/ stands beside the
// program as build/game/ stands beside build/game/kiv, and the host's files named on the command
// line (--script, --trace, --data), the screenshots the script writes and the working folder
// are reached at their own paths, so the desktop's command line works unchanged:
//   node kiv_node.js --headless [--data DIR] --script FILE --trace FILE [--seed N]
// KIV_NODE_RECORDS_OUT=DIR copies the packed game's Kiv.ini there when the program ends.
/* global Module, FS, NODEFS */
(function () {
  const fs = require("fs");
  const path = require("path");
  // Node's own fetch cannot read the engine's file: it is handed over here.
  Module["wasmBinary"] = fs.readFileSync(path.join(__dirname, "kiv_node.wasm"));
  Module["thisProgram"] = "/game/kiv";

  // The arguments stay as they are given: a relative path is taken from the working folder,
  // as natively, and the trace names the files as the native program's does.
  const args = process.argv.slice(2);
  const folders = [process.cwd()];
  for (let i = 0; i + 1 < args.length; ++i) {
    if (args[i] !== "--script" && args[i] !== "--trace" && args[i] !== "--data") continue;
    const host = path.resolve(args[i + 1]);
    folders.push(args[i] === "--data" ? host : path.dirname(host));
    // The script's screenshots are written where it says.
    if (args[i] === "--script" && fs.existsSync(host)) {
      for (const line of fs.readFileSync(host, "latin1").split(/\r?\n/)) {
        const m = /^\s*screenshot\s+(.+?)\s*$/.exec(line);
        if (m) folders.push(path.dirname(path.resolve(m[1])));
      }
    }
    ++i;
  }
  Module["arguments"] = args;

  Module["preRun"] = Module["preRun"] || [];
  Module["preRun"].push(() => {
    // Each folder once, and none inside another (that one is reached through its parent).
    const mounted = [];
    for (const dir of [...new Set(folders)].sort((a, b) => a.length - b.length)) {
      if (dir === "/" || mounted.some((m) => dir.startsWith(m + "/"))) continue;
      if (!fs.existsSync(dir)) continue;
      FS.mkdirTree(dir);
      FS.mount(NODEFS, { root: dir }, dir);
      mounted.push(dir);
    }
    FS.chdir(process.cwd());
  });

  Module["onExit"] = () => {
    const out = process.env.KIV_NODE_RECORDS_OUT;
    if (!out) return;
    try {
      fs.writeFileSync(path.join(out, "Kiv.ini"), FS.readFile("/game/Kiv.ini"));
    } catch (e) {
      // No records written: nothing to copy.
    }
  };
})();
