'use strict';
// Draws a frame on the preview canvas: the sprite's rectangle at an integer zoom over a
// checkerboard (index 0 is transparent), outlined one pixel outside it so no pixel of the
// sprite is covered.
const PixmorphPreview = (() => {
  // The desktop's pace: the game's fastest speed, 24 frames a second.
  const PLAYBACK_INTERVAL_MS = Math.trunc(1000 / 24);
  const MIN_ZOOM = 1;
  const MAX_ZOOM = 8;
  const OUTLINE = 1; // the outline's width, and the sprite's distance from the canvas edge
  const CHECK = 8; // checkerboard squares, in canvas pixels whatever the zoom
  const CHECK_LIGHT = '#d4d4d8';
  const CHECK_DARK = '#a1a1aa';
  const OUTLINE_COLOUR = '#ef4444';

  function clampZoom(zoom) {
    return Math.min(MAX_ZOOM, Math.max(MIN_ZOOM, Math.trunc(zoom) || MIN_ZOOM));
  }

  // The frame after `current` in `count` frames, wrapping both ways.
  function stepFrame(current, count, by) {
    if (count <= 0) return 0;
    return (((current + by) % count) + count) % count;
  }

  const scratch = document.createElement('canvas');

  function draw(canvas, picture, width, height, zoom) {
    const scale = clampZoom(zoom);
    const inner = { left: OUTLINE, top: OUTLINE, width: width * scale, height: height * scale };
    canvas.width = inner.width + 2 * OUTLINE;
    canvas.height = inner.height + 2 * OUTLINE;
    canvas.dataset.spriteLeft = inner.left;
    canvas.dataset.spriteTop = inner.top;
    canvas.dataset.zoom = scale;
    const context = canvas.getContext('2d');
    context.imageSmoothingEnabled = false;

    context.fillStyle = OUTLINE_COLOUR;
    context.fillRect(0, 0, canvas.width, canvas.height);
    context.fillStyle = CHECK_LIGHT;
    context.fillRect(inner.left, inner.top, inner.width, inner.height);
    context.fillStyle = CHECK_DARK;
    for (let y = 0; y < inner.height; y += CHECK) {
      for (let x = (y / CHECK) % 2 ? 0 : CHECK; x < inner.width; x += 2 * CHECK) {
        context.fillRect(inner.left + x, inner.top + y, Math.min(CHECK, inner.width - x), Math.min(CHECK, inner.height - y));
      }
    }
    if (width === 0 || height === 0) return inner;
    scratch.width = width;
    scratch.height = height;
    scratch.getContext('2d').putImageData(new ImageData(picture, width, height), 0, 0);
    context.drawImage(scratch, inner.left, inner.top, inner.width, inner.height);
    return inner;
  }

  return { PLAYBACK_INTERVAL_MS, MIN_ZOOM, MAX_ZOOM, CHECK_LIGHT, CHECK_DARK, clampZoom, stepFrame, draw };
})();
