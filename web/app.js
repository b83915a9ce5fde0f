'use strict';
// The page: opened files, the preview and its playback, the export and compile buttons. Every
// conversion is a pixmorph-cli command run by the module, so results and refusals are the
// command line's own.
(() => {
  const $ = (id) => document.getElementById(id);
  const bridge = PixmorphBridge;
  const preview = PixmorphPreview;

  const files = new Map(); // name -> role
  const state = {
    sprite: null, // { name, frameCount, width, height }
    frame: 0,
    palette: '', // '' for the built-in palette
    timer: null,
    busy: false,
  };

  // ---- Files --------------------------------------------------------------------------------

  // The name rule of palettes: the last three characters "pal" exactly, or these endings.
  function roleOf(name) {
    const lower = name.toLowerCase();
    if (lower.endsWith('.grp')) return 'sprite';
    if (name.endsWith('pal') || /\.(wpe|act|gpl)$/.test(lower)) return 'palette';
    if (/\.(qbl|json)$/.test(lower)) return 'list';
    if (/\.(bmp|png)$/.test(lower)) return 'picture';
    return 'other';
  }

  // Fills a select with an empty choice (when emptyText is given) and the names.
  function fillSelect(select, names, chosen, emptyText) {
    select.replaceChildren();
    if (emptyText !== null) select.append(new Option(emptyText, ''));
    for (const name of names) select.append(new Option(name, name));
    select.value = chosen;
  }

  function namesWith(...roles) {
    return [...files].filter(([, role]) => roles.includes(role)).map(([name]) => name).sort();
  }

  function refreshFileControls() {
    const sprites = namesWith('sprite');
    fillSelect($('sprite-select'), sprites, state.sprite ? state.sprite.name : '', state.sprite ? null : 'No sprite shown');
    $('sprite-select').disabled = sprites.length === 0;
    fillSelect($('palette-select'), namesWith('palette', 'picture'), state.palette, 'Built-in palette');
    const lists = namesWith('list');
    const listSelect = $('list-select');
    const chosenList = lists.includes(listSelect.value) ? listSelect.value : lists[lists.length - 1] || '';
    fillSelect(listSelect, lists, chosenList, lists.length ? null : 'Open a .qbl or a sheet\'s .json');
    listSelect.disabled = lists.length === 0;

    const list = $('file-list');
    list.replaceChildren();
    for (const [name, role] of [...files].sort(([a], [b]) => a.localeCompare(b))) {
      const item = document.createElement('li');
      const label = document.createElement('span');
      label.textContent = name;
      const tag = document.createElement('span');
      tag.className = `role role-${role}`;
      tag.textContent = { sprite: 'sprite', palette: 'palette', list: 'list', picture: 'picture', other: 'file' }[role];
      item.append(label, tag);
      list.append(item);
    }
    updateButtons();
  }

  async function openFiles(entries) {
    const added = [];
    for (const { name, bytes } of entries) {
      if (!bridge.usableName(name)) {
        message(`${JSON.stringify(name)}: a file name Pixmorph cannot use here.`, 'error');
        continue;
      }
      bridge.addFile(name, bytes);
      files.set(name, roleOf(name));
      added.push(name);
    }
    refreshFileControls();
    if (added.length) message(`Opened ${added.join(', ')}.`, 'info');

    const lastOf = (role) => added.filter((name) => files.get(name) === role).pop();
    const palette = lastOf('palette');
    if (palette) await choosePalette(palette);
    const list = lastOf('list');
    if (list) $('list-select').value = list;
    const sprite = lastOf('sprite');
    if (sprite) await showSprite(sprite);
    else if (state.sprite && added.includes(state.sprite.name)) await showSprite(state.sprite.name);
    updateButtons();
  }

  async function openFileObjects(fileObjects) {
    const entries = [];
    for (const file of fileObjects) entries.push({ name: file.name, bytes: new Uint8Array(await file.arrayBuffer()) });
    await openFiles(entries);
  }

  function forgetFiles() {
    stopPlayback();
    bridge.forgetFiles();
    files.clear();
    state.sprite = null;
    state.palette = '';
    bridge.openPalette('');
    refreshFileControls();
    drawFrame();
    message('Forgot every opened file.', 'info');
  }

  // ---- Sprite and palette -------------------------------------------------------------------

  async function showSprite(name) {
    stopPlayback();
    // `info` judges the file as the command line does; its refusal is the page's message.
    const info = await bridge.run(['info', '--', name]);
    if (info.status !== 0) {
      showLines(info.err);
      $('sprite-select').value = state.sprite ? state.sprite.name : '';
      return false;
    }
    const opened = await bridge.openSprite(name);
    if (opened.frameCount === undefined) {
      showLines(opened.err);
      return false;
    }
    // The header's size, which the drawn rectangle stops short of when it passes what a frame reaches.
    const size = (info.out.find((line) => line.startsWith('size: ')) || '').slice(6).replace(' x ', ' × ');
    state.sprite = { name, frameCount: opened.frameCount, width: opened.width, height: opened.height, size };
    state.frame = 0;
    refreshFileControls();
    const encoding = info.out.find((line) => line.startsWith('encoding: '));
    message(`${name}: ${opened.frameCount} frames, ${state.sprite.size}${encoding && !encoding.endsWith('run-length') ? `, ${encoding.slice(10)}` : ''}.`, 'info');
    drawFrame();
    updateButtons();
    return true;
  }

  async function choosePalette(name) {
    const result = await bridge.openPalette(name);
    if (result.kind === null) {
      showLines(result.err);
      $('palette-select').value = state.palette;
      return;
    }
    state.palette = name;
    $('palette-select').value = name;
    if (name) message(`Palette ${name} - ${result.kind}.`, 'info');
    drawFrame();
  }

  // ---- Preview ------------------------------------------------------------------------------

  function drawFrame() {
    const canvas = $('preview-canvas');
    const sprite = state.sprite;
    $('stage-empty').hidden = !!sprite;
    canvas.hidden = !sprite;
    if (!sprite) {
      for (const id of ['frame-number', 'frame-count', 'sprite-size', 'frame-box']) $(id).textContent = '–';
      return;
    }
    const { pixels, box } = bridge.renderFrame(state.frame, sprite.width, sprite.height);
    preview.draw(canvas, pixels, sprite.width, sprite.height, Number($('zoom').value));
    $('frame-number').textContent = sprite.frameCount ? `${state.frame}` : '–';
    $('frame-count').textContent = `${sprite.frameCount}`;
    $('sprite-size').textContent = sprite.size || `${sprite.width} × ${sprite.height}`;
    $('frame-box').textContent = sprite.frameCount ? `${box.width} × ${box.height} at ${box.x}, ${box.y}` : '–';
    const slider = $('frame-slider');
    slider.max = Math.max(0, sprite.frameCount - 1);
    slider.value = state.frame;
  }

  function goToFrame(frame) {
    if (!state.sprite) return;
    state.frame = frame;
    drawFrame();
  }

  function step(by) {
    stopPlayback();
    if (state.sprite) goToFrame(preview.stepFrame(state.frame, state.sprite.frameCount, by));
  }

  function startPlayback() {
    if (!state.sprite || state.sprite.frameCount === 0 || state.timer) return;
    state.timer = setInterval(() => goToFrame(preview.stepFrame(state.frame, state.sprite.frameCount, 1)), preview.PLAYBACK_INTERVAL_MS);
    $('play').textContent = 'Pause';
  }

  function stopPlayback() {
    if (state.timer) clearInterval(state.timer);
    state.timer = null;
    $('play').textContent = 'Play';
  }

  // ---- Export and compile -------------------------------------------------------------------

  function paletteArgs() {
    return state.palette ? ['--palette', state.palette] : [];
  }

  function checked(name) {
    return document.querySelector(`input[name="${name}"]:checked`).value;
  }

  function baseName(name) {
    return name.replace(/\.[^.]*$/, '');
  }

  function download(name, bytes, type) {
    const url = URL.createObjectURL(new Blob([bytes], { type }));
    const link = document.createElement('a');
    link.href = url;
    link.download = name;
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(url), 10000);
  }

  function zip(filesByName) {
    return fflate.zipSync(Object.fromEntries(filesByName), { level: 6 });
  }

  // Runs the command and hands its files to done(); a refusal shows its lines instead.
  async function command(args, done) {
    if (state.busy) return;
    state.busy = true;
    document.body.dataset.busy = 'true';
    updateButtons();
    try {
      const result = await bridge.run(args);
      showLines(result.err);
      if (result.status === 0 && result.files.size) done(result.files);
      else if (result.status === 0) message('The command wrote no file.', 'error');
    } finally {
      state.busy = false;
      delete document.body.dataset.busy;
      updateButtons();
    }
  }

  function exportArgs(...options) {
    return ['export', ...options, ...paletteArgs(), '--output-dir', '/out', '--', state.sprite.name];
  }

  async function exportZip() {
    const unique = checked('frames') === 'unique';
    const format = checked('format');
    const name = `${baseName(state.sprite.name)}-${format}${unique ? '-unique' : ''}.zip`;
    await command(exportArgs(...(unique ? ['--unique'] : []), '--format', format), (out) => {
      download(name, zip(out), 'application/zip');
      message(`${name}: ${out.size} files.`, 'info');
    });
  }

  async function exportSheet() {
    const unique = checked('frames') === 'unique';
    const name = `${baseName(state.sprite.name)}-sheet${unique ? '-unique' : ''}.zip`;
    await command(exportArgs('--sheet', ...(unique ? ['--unique'] : [])), (out) => {
      download(name, zip(out), 'application/zip');
      message(`${name}: ${[...out.keys()].join(', ')}.`, 'info');
    });
  }

  async function exportFrame() {
    await command(exportArgs('--format', 'png', '--frames', String(state.frame)), (out) => {
      for (const [name, bytes] of out) {
        if (name.toLowerCase().endsWith('.png')) {
          download(name, bytes, 'image/png');
          message(`${name}: frame ${state.frame}.`, 'info');
        }
      }
    });
  }

  async function compile() {
    const list = $('list-select').value;
    if (!list) return;
    const options = [];
    if ($('compact').checked) options.push('--compact');
    if ($('partial').checked) options.push('--partial');
    await command(['compile', ...options, ...paletteArgs(), '--output-dir', '/out', '--', list], (out) => {
      for (const [name, bytes] of out) {
        download(name, bytes, 'application/octet-stream');
        // Kept among the sprites too, to be looked at in the preview.
        bridge.addFile(name, bytes);
        files.set(name, roleOf(name));
        message(`${name}: compiled from ${list}, ${bytes.length} bytes; also under Sprite.`, 'info');
      }
      refreshFileControls();
    });
  }

  // ---- Messages and controls ----------------------------------------------------------------

  function message(text, kind) {
    // The latest refusal also stands under the header, in sight whatever the scroll; the next
    // piece of good news takes it away.
    const alert = $('alert');
    if (kind === 'error') alert.textContent = text;
    alert.hidden = kind !== 'error';
    const list = $('messages');
    const item = document.createElement('li');
    item.className = kind;
    item.textContent = text;
    list.prepend(item);
    while (list.children.length > 40) list.lastElementChild.remove();
  }

  function showLines(lines) {
    for (const line of lines) message(line, 'error');
  }

  function updateButtons() {
    const ready = document.body.dataset.ready === 'true';
    const hasSprite = ready && !!state.sprite && !state.busy;
    const hasFrames = hasSprite && state.sprite.frameCount > 0;
    for (const id of ['export-zip', 'export-sheet']) $(id).disabled = !hasSprite;
    for (const id of ['export-frame', 'prev-frame', 'next-frame', 'play', 'frame-slider']) $(id).disabled = !hasFrames;
    $('compile').disabled = !ready || state.busy || !$('list-select').value;
  }

  function typing(target) {
    return target instanceof HTMLInputElement || target instanceof HTMLSelectElement || target instanceof HTMLTextAreaElement;
  }

  // Every handler reports a failure in the page instead of leaving it half done.
  function guarded(handler) {
    return (...args) =>
      Promise.resolve()
        .then(() => handler(...args))
        .catch((error) => message(String(error.message || error), 'error'));
  }

  function wireControls() {
    $('file-input').addEventListener('change', guarded(async (event) => {
      await openFileObjects([...event.target.files]);
      event.target.value = '';
    }));
    const zone = $('drop-zone');
    for (const type of ['dragenter', 'dragover']) {
      document.addEventListener(type, (event) => {
        event.preventDefault();
        zone.classList.add('dragging');
      });
    }
    for (const type of ['dragleave', 'dragend']) document.addEventListener(type, () => zone.classList.remove('dragging'));
    document.addEventListener('drop', guarded(async (event) => {
      event.preventDefault();
      zone.classList.remove('dragging');
      await openFileObjects([...event.dataTransfer.files]);
    }));

    $('sprite-select').addEventListener('change', guarded((event) => event.target.value && showSprite(event.target.value)));
    $('palette-select').addEventListener('change', guarded((event) => choosePalette(event.target.value)));
    $('list-select').addEventListener('change', updateButtons);
    $('alert').addEventListener('click', () => ($('alert').hidden = true));
    $('forget-files').addEventListener('click', guarded(forgetFiles));

    $('prev-frame').addEventListener('click', () => step(-1));
    $('next-frame').addEventListener('click', () => step(1));
    $('play').addEventListener('click', () => (state.timer ? stopPlayback() : startPlayback()));
    $('frame-slider').addEventListener('input', (event) => {
      stopPlayback();
      goToFrame(Number(event.target.value));
    });
    $('zoom').addEventListener('change', guarded(drawFrame));
    document.addEventListener('keydown', (event) => {
      if (event.altKey || event.ctrlKey || event.metaKey || typing(event.target)) return;
      if (event.key === 'ArrowLeft' || event.key === 'ArrowRight') {
        step(event.key === 'ArrowLeft' ? -1 : 1);
        event.preventDefault();
      } else if (event.key === ' ' && !(event.target instanceof HTMLButtonElement)) {
        state.timer ? stopPlayback() : startPlayback();
        event.preventDefault();
      }
    });

    $('export-zip').addEventListener('click', guarded(exportZip));
    $('export-sheet').addEventListener('click', guarded(exportSheet));
    $('export-frame').addEventListener('click', guarded(exportFrame));
    $('compile').addEventListener('click', guarded(compile));
  }

  async function openDemo() {
    const response = await fetch('demo/orb.grp');
    if (!response.ok) throw new Error(`demo/orb.grp: ${response.status} ${response.statusText}`);
    await openFiles([{ name: 'orb.grp', bytes: new Uint8Array(await response.arrayBuffer()) }]);
  }

  async function main() {
    wireControls();
    bridge.onRestart = guarded(async () => {
      if (state.palette) await choosePalette(state.palette);
      if (state.sprite) await showSprite(state.sprite.name);
    });
    await bridge.start();
    document.body.dataset.readyAt = performance.now();
    document.body.dataset.ready = 'true';
    $('module-state').textContent = 'Ready';
    $('module-state').classList.add('ready');
    drawFrame();
    updateButtons();
    if (new URLSearchParams(location.search).has('demo')) await openDemo();
  }

  guarded(main)();
})();
