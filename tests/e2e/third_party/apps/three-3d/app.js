// three.js loads a texture and draws it on a box in front of a blue
// background; the pixels read back are what the engine drew.
import * as THREE from "./lib/three.module.js";

window.appResult = (async () => {
  const renderer = new THREE.WebGLRenderer({ preserveDrawingBuffer: true });
  renderer.setSize(200, 200);
  document.body.appendChild(renderer.domElement);
  const texture = await new THREE.TextureLoader().loadAsync("assets/star.png");
  texture.colorSpace = THREE.SRGBColorSpace;
  const scene = new THREE.Scene();
  scene.background = new THREE.Color(0x0000ff);
  const camera = new THREE.PerspectiveCamera(50, 1, 0.1, 10);
  camera.position.z = 3;
  const box = new THREE.Mesh(new THREE.BoxGeometry(1, 1, 1), new THREE.MeshBasicMaterial({ map: texture }));
  box.rotation.y = 0.3;
  scene.add(box);
  renderer.render(scene, camera);
  const gl = renderer.getContext();
  const pixel = (x, y) => {
    const value = new Uint8Array(4);
    gl.readPixels(x, y, 1, 1, gl.RGBA, gl.UNSIGNED_BYTE, value);
    return Array.from(value.slice(0, 3)).join(" ");
  };
  return { "three revision": THREE.REVISION, "box centre": pixel(100, 100), "background corner": pixel(2, 2) };
})();
