#!/usr/bin/env python3
"""The neighbour search and the convex hull beside SciPy, on the same data.

Runs the library's benchmarks (build/release/bin/*_bench, Google Benchmark,
JSON output) and times SciPy on the very values they draw: bench::FillRandom
of bench/support/fresh_data.h (splitmix64, uniform in [-1e6, 1e6)) is
reproduced below. Both sides single-threaded. Prints one table:
routine | size | ours | peer | ratio (ours / peer).

  /usr/bin/python3 bench/compare_numpy_knn_hull.py [build dir] [repetitions]

NumPy and SciPy are benchmark dependencies only: no test needs them.
"""
import json
import subprocess
import sys
import time
from pathlib import Path

import numpy as np
from scipy.spatial import ConvexHull, cKDTree

GOLDEN = np.uint64(0x9E3779B97F4A7C15)


def fill_random(count, seed):
    """bench::FillRandom(W, Seed) for a W of count values."""
    with np.errstate(over="ignore"):
        x = np.uint64(seed) * GOLDEN + np.uint64(1)
        z = x + (np.arange(1, count + 1, dtype=np.uint64) * GOLDEN)
        z = (z ^ (z >> np.uint64(30))) * np.uint64(0xBF58476D1CE4E5B9)
        z = (z ^ (z >> np.uint64(27))) * np.uint64(0x94D049BB133111EB)
        z ^= z >> np.uint64(31)
    return (z >> np.uint64(11)).astype(np.float64) * 2.0**-53 * 2e6 - 1e6


def ours(build, program, name, reps):
    """Per-iteration times (ms) of benchmark name, and its iteration count."""
    out = subprocess.run(
        [str(build / "bin" / program), f"--benchmark_filter=^{name}$", "--benchmark_format=json",
         f"--benchmark_repetitions={reps}"],
        check=True, capture_output=True, text=True).stdout
    runs = [b for b in json.loads(out)["benchmarks"] if b.get("run_type") == "iteration"]
    scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}
    return [b["real_time"] * scale[b["time_unit"]] for b in runs], runs[0]["iterations"]


def timed(fn, reps):
    times = []
    for _ in range(reps):
        t0 = time.perf_counter()
        fn()
        times.append((time.perf_counter() - t0) * 1e3)
    return times


def knn(build, reps):
    # BM_FindNearestNeighborsBatch: 100000 x 10 rows (seed 1), 1000 samples
    # (seed 2), k = 10; the tree built and queried every time.
    x = fill_random(100000 * 10, 1).reshape(-1, 10)
    q = fill_random(1000 * 10, 2).reshape(-1, 10)
    t, _ = ours(build, "math2_knn_bench", "BM_FindNearestNeighborsBatch", reps)
    peer = timed(lambda: cKDTree(x).query(q, k=10, workers=1), reps)
    return "FindNearestNeighbors / cKDTree build + query", "1000 samples, 1e5 x 10, k = 10", t, peer


def hull(build, reps):
    # BM_Convex2DHull/2000000: 10^6 points per iteration, fresh ones drawn
    # from seeds 1, 2, ... (each repetition starts again at 1).
    t, iters = ours(build, "math2_polygons_bench", "BM_Convex2DHull/2000000/manual_time", reps)
    sets = [fill_random(2000000, s).reshape(-1, 2) for s in range(1, iters + 1)]
    peer = []
    for _ in range(reps):
        peer.append(sum(timed(lambda p=p: ConvexHull(p), 1)[0] for p in sets) / len(sets))
    return "Convex2DHull / ConvexHull", "1e6 points", t, peer


def main():
    build = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "build/release"
    reps = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    print("routine | size | ours | peer | ratio")
    print("---|---|---|---|---")
    for case in (knn, hull):
        name, size, t, peer = case(build, reps)
        a, b = min(t), min(peer)
        print(f"{name} | {size} | {a:.1f} ms (median {np.median(t):.1f}) | {b:.1f} ms (median {np.median(peer):.1f})"
              f" | {a / b:.2f}")


if __name__ == "__main__":
    main()
