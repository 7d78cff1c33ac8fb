// The runtime double's end of the bridge: JSON lines both ways over one TCP
// connection; a line with "bodyLength" is followed by that many raw bytes.
const net = require("net");

class HostLink {
  constructor(onLine, onEnd) {
    this.onLine = onLine;
    this.onEnd = onEnd;
    this.socket = null;
    this.pending = Buffer.alloc(0);
    this.waitingBody = null;
  }

  // Listens on 127.0.0.1 on a port of the system's choosing; resolves to it.
  listen() {
    this.server = net.createServer((socket) => this.accept(socket));
    return new Promise((resolve) => this.server.listen(0, "127.0.0.1", () => resolve(this.server.address().port)));
  }

  accept(socket) {
    if (this.socket) return socket.destroy();
    this.socket = socket;
    socket.on("data", (chunk) => this.receive(chunk));
    socket.on("close", () => {
      this.server.close();
      this.onEnd();
    });
    socket.on("error", () => {});
  }

  receive(chunk) {
    this.pending = Buffer.concat([this.pending, chunk]);
    for (;;) {
      if (this.waitingBody) {
        if (this.pending.length < this.waitingBody.bodyLength) return;
        const message = this.waitingBody;
        message.body = this.pending.subarray(0, message.bodyLength);
        this.pending = this.pending.subarray(message.bodyLength);
        this.waitingBody = null;
        this.onLine(message);
        continue;
      }
      const end = this.pending.indexOf(10);
      if (end < 0) return;
      const message = JSON.parse(this.pending.subarray(0, end).toString("utf8"));
      this.pending = this.pending.subarray(end + 1);
      if (typeof message.bodyLength === "number") this.waitingBody = message;
      else this.onLine(message);
    }
  }

  send(message) {
    if (this.socket && !this.socket.destroyed) this.socket.write(JSON.stringify(message) + "\n");
  }

  get connected() {
    return Boolean(this.socket);
  }
}

module.exports = { HostLink };
