// A JavaScript module with the standard module extension: the engine runs
// it only when the host serves it as JavaScript.
export function bestOf(scores) {
    return scores.reduce((best, score) => Math.max(best, score), 0);
}
