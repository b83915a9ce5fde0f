'use strict';
// The WebAssembly module and its in-memory files. Every opened file lives in /files (the
// folder the commands run in, so their messages name files as a terminal would); each command
// writes into an empty /out; what a command prints is collected line by line.
const PixmorphBridge = (() => {
  const FILES = '/files';
  const OUT = '/out';
  const kept = new Map(); // name -> bytes, to refill a module started afresh
  let module = null;
  let sink = null;

  // The commands' output arrives byte by byte through devices of their own, so the module
  // sees no terminal and draws no progress line.
  function startCollecting() {
    sink = { out: [], err: [] };
  }

  function collected(bytes) {
    const lines = new TextDecoder().decode(new Uint8Array(bytes)).split('\n');
    if (lines[lines.length - 1] === '') lines.pop();
    return lines;
  }

  function outputDevice(stream) {
    return (byte) => {
      if (byte === null || byte === undefined) return;
      if (sink) sink[stream].push(byte);
    };
  }

  async function start() {
    module = await PixmorphWeb({ stdin: () => null, stdout: outputDevice('out'), stderr: outputDevice('err') });
    module.FS.mkdir(FILES);
    module.FS.mkdir(OUT);
    module.FS.chdir(FILES);
    for (const [name, bytes] of kept) module.FS.writeFile(`${FILES}/${name}`, bytes);
  }

  // A name the file system can hold as one file of /files; the browser gives bare names.
  function usableName(name) {
    return name !== '' && name !== '.' && name !== '..' && !/[\/\0]/.test(name);
  }

  function addFile(name, bytes) {
    if (!usableName(name)) throw new Error(`${JSON.stringify(name)}: a file name Pixmorph cannot use here.`);
    kept.set(name, bytes);
    module.FS.writeFile(`${FILES}/${name}`, bytes);
  }

  function forgetFiles() {
    for (const name of kept.keys()) module.FS.unlink(`${FILES}/${name}`);
    kept.clear();
  }

  function clearOut() {
    for (const name of module.FS.readdir(OUT)) {
      if (name !== '.' && name !== '..') module.FS.unlink(`${OUT}/${name}`);
    }
  }

  // Calls into the module with its output collected; a module that traps (it never should) is
  // started afresh with the opened files, so the page keeps working.
  async function collect(call) {
    startCollecting();
    try {
      const value = call();
      return { value, out: collected(sink.out), err: collected(sink.err) };
    } catch (error) {
      const err = collected(sink.err).concat([`Pixmorph stopped unexpectedly (${error.message || error}); it has been restarted.`]);
      sink = null;
      await start();
      if (bridge.onRestart) bridge.onRestart();
      return { value: null, out: [], err };
    } finally {
      sink = null;
    }
  }

  // Calls use(argc, argv) with the words as C strings in the module's memory, freed after.
  function withArgv(words, use) {
    const pointers = words.map((word) => {
      const size = module.lengthBytesUTF8(word) + 1;
      const pointer = module._malloc(size);
      module.stringToUTF8(word, pointer, size);
      return pointer;
    });
    const argv = module._malloc(4 * (pointers.length + 1));
    pointers.concat([0]).forEach((pointer, i) => module.setValue(argv + 4 * i, pointer, 'i32'));
    try {
      return use(words.length, argv);
    } finally {
      for (const pointer of pointers) module._free(pointer);
      module._free(argv);
    }
  }

  // Runs pixmorph-cli with the arguments; the files it wrote into /out come back by name.
  async function run(args) {
    clearOut();
    const result = await collect(() => withArgv(['pixmorph-cli', ...args], (argc, argv) => module._pixmorph_run(argc, argv)));
    const files = new Map();
    if (result.value !== null) {
      for (const name of module.FS.readdir(OUT).sort()) {
        if (name !== '.' && name !== '..') files.set(name, module.FS.readFile(`${OUT}/${name}`));
      }
    }
    clearOut();
    return { status: result.value === null ? 1 : result.value, out: result.out, err: result.err, files };
  }

  async function openSprite(name) {
    const result = await collect(() => module.ccall('pixmorph_open_sprite', 'number', ['string'], [name]));
    if (result.value === null || result.value < 0) return { err: result.err };
    return {
      frameCount: result.value,
      width: module.ccall('pixmorph_sprite_width', 'number', [], []),
      height: module.ccall('pixmorph_sprite_height', 'number', [], []),
      err: result.err,
    };
  }

  // The palette's kind ("JASC Pal", ...), or null with the command line's message in err.
  async function openPalette(name) {
    if (!name) {
      module.ccall('pixmorph_default_palette', null, [], []);
      return { kind: 'built-in', err: [] };
    }
    const result = await collect(() => module.ccall('pixmorph_open_palette', 'number', ['string'], [name]));
    if (!result.value) return { kind: null, err: result.err };
    return { kind: module.UTF8ToString(result.value), err: result.err };
  }

  // Frame `index` as RGBA pixels of the sprite's size, and the frame's box.
  function renderFrame(index, width, height) {
    const pointer = module.ccall('pixmorph_render_frame', 'number', ['number'], [index]);
    const pixels = new Uint8ClampedArray(module.HEAPU8.buffer, pointer, width * height * 4).slice();
    const boxPointer = module.ccall('pixmorph_frame_box', 'number', [], []);
    const [x, y, w, h] = new Int32Array(module.HEAPU8.buffer, boxPointer, 4);
    return { pixels, box: { x, y, width: w, height: h } };
  }

  const bridge = { start, addFile, forgetFiles, run, openSprite, openPalette, renderFrame, usableName, onRestart: null };
  return bridge;
})();
