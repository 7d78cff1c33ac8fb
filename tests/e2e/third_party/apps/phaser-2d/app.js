// Phaser's loader brings an image and a sound; the sound plays once the
// player has clicked (the engine's autoplay rule), and the image is drawn.
window.appWantsClicks = true;
window.appResult = new Promise((resolve, reject) => {
  class Scene extends Phaser.Scene {
    preload() {
      this.load.image("star", "assets/star.png");
      this.load.audio("tone", "assets/tone.wav");
      this.load.on("loaderror", (file) => reject(new Error(`Phaser could not load ${file.src}`)));
    }

    create() {
      this.cameras.main.setBackgroundColor("#203040");
      this.add.image(160, 120, "star").setScale(4);
      const image = this.textures.get("star").getSourceImage();
      const decoded = this.cache.audio.get("tone");
      const play = () => {
        const tone = this.sound.add("tone");
        tone.play();
        this.game.events.once("postrender", () =>
          this.game.renderer.snapshotPixel(160, 120, (colour) =>
            resolve({
              "image size": `${image.width}x${image.height}`,
              "sound decoded seconds": decoded.duration.toFixed(2),
              "sound playing": tone.isPlaying,
              "drawn pixel": `${colour.red} ${colour.green} ${colour.blue}`,
              "renderer": this.game.renderer.type === Phaser.WEBGL ? "webgl" : "canvas",
            })));
      };
      if (this.sound.locked) this.sound.once("unlocked", play);
      else play();
    }
  }
  new Phaser.Game({ type: Phaser.AUTO, width: 320, height: 240, scene: Scene, banner: false });
});
