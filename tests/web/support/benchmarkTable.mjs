// The rows of the benchmark's table (the page's ?benchmark and the native
// --benchmark print the same one), by part ("1" to "11", or "empty"):
// frames, median ms, 95th percentile ms.
export function parseTable(lines) {
  const rows = new Map();
  for (const line of lines) {
    const match = /^(\d+|empty)\s+(\d+)\s+([\d.]+)\s+([\d.]+)\s+([\d.]+)/.exec(line.trim());
    if (match) rows.set(match[1], { frames: Number(match[2]), median: Number(match[3]), p95: Number(match[4]) });
  }
  return rows;
}
