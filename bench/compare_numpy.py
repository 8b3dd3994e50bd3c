#!/usr/bin/python3
"""The library beside NumPy and SciPy on the same data, both single-threaded.

Each row runs one of the project's benchmarks (a program of build/release/bin,
filtered, its JSON read back) and times the peer routine in this process on
the values that benchmark generates: the splitmix sequences of
bench/support/fresh_data.h (FillRandom), rebuilt here bit for bit. The table
gives the median time of each side over the repetitions and their ratio
(ours / peer; below 1 is ahead).

    bench/compare_numpy.py [--bin build/release/bin] [--repetitions 5] [row ...]

A row is a function `row_<name>(args)` returning a list of Result; add one
for a further routine, with its benchmark beside the plain loops in
bench/<unit>_<topic>_bench.cpp. NumPy and SciPy are needed only here.
"""
import argparse
import json
import os
import subprocess
import sys
import time
from dataclasses import dataclass

for _var in ("OPENBLAS_NUM_THREADS", "OMP_NUM_THREADS", "MKL_NUM_THREADS", "NUMEXPR_NUM_THREADS"):
    os.environ[_var] = "1"  # before NumPy loads its BLAS

import numpy as np  # noqa: E402
import scipy  # noqa: E402
import scipy.stats  # noqa: E402
from scipy.spatial import ConvexHull, cKDTree  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


@dataclass
class Result:
    routine: str
    size: str
    ours_ms: float
    peer: str
    peer_ms: float


# ---- the data of bench/support/fresh_data.h ----------------------------------------

GOLDEN = np.uint64(0x9E3779B97F4A7C15)


def fill_random(n, seed):
    """FillRandom(W, Seed): n uniform doubles in [-1e6, 1e6) from splitmix64."""
    with np.errstate(over="ignore"):
        x = np.uint64(seed) * GOLDEN + np.uint64(1)
        z = x + GOLDEN * np.arange(1, n + 1, dtype=np.uint64)
        z = (z ^ (z >> np.uint64(30))) * np.uint64(0xBF58476D1CE4E5B9)
        z = (z ^ (z >> np.uint64(27))) * np.uint64(0x94D049BB133111EB)
        z ^= z >> np.uint64(31)
    return (z >> np.uint64(11)).astype(np.float64) * 2.0**-53 * 2e6 - 1e6


# ---- both sides ----------------------------------------------------------------------


def ours(args, program, name):
    """The median real time in ms of benchmark `name` (its full name without
    the aggregate suffix) of bench program `program`."""
    exe = os.path.join(args.bin, program)
    out = subprocess.run(
        [exe, "--benchmark_filter=^" + name + "$", "--benchmark_format=json",
         "--benchmark_repetitions=%d" % args.repetitions, "--benchmark_report_aggregates_only=true"],
        check=True, capture_output=True, text=True).stdout
    scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}
    for b in json.loads(out)["benchmarks"]:
        if b.get("aggregate_name") == "median" and b["run_name"] == name:
            return b["real_time"] * scale[b["time_unit"]]
    sys.exit("%s: no median of %s" % (program, name))


def peer(args, fn, fresh):
    """The median time in ms of fn(data) over the repetitions, fresh(k) giving
    the data of repetition k (untimed), as RunFresh does for ours."""
    times = []
    for k in range(1, args.repetitions + 1):
        data = fresh(k)
        t0 = time.perf_counter()
        fn(data)
        times.append(time.perf_counter() - t0)
    return float(np.median(times)) * 1e3


# ---- rows ----------------------------------------------------------------------------


def row_sort(args):
    n = 10**6
    return [Result("SortArray (ORV_math1)", "10^6 doubles",
                   ours(args, "math1_sort_bench", "BM_SortArray/%d/manual_time" % n),
                   "ndarray.sort", peer(args, lambda a: a.sort(kind="quicksort"), lambda k: fill_random(n, k)))]


def row_percentile(args):
    n = 10**6
    fresh = lambda k: fill_random(n, k)  # noqa: E731
    return [
        Result("TVector.Percentile(37.5)", "10^6",
               ours(args, "vector_stats_bench", "BM_Percentile/%d/manual_time" % n),
               "numpy.percentile", peer(args, lambda a: np.percentile(a, 37.5), fresh)),
        Result("TVector.Quartiles", "10^6",
               ours(args, "vector_stats_bench", "BM_Quartiles/%d/manual_time" % n),
               "numpy.percentile weibull", peer(args, lambda a: np.percentile(a, [25, 50, 75], method="weibull"), fresh)),
    ]


def row_levene(args):
    # TenGroups() of bench/statis_groups_bench.cpp: group g holds values
    # 10^5 g .. 10^5 (g + 1) - 1 of FillRandom(seed 46), times 1 + g / 10.
    x = fill_random(10**6, 46)
    groups = [x[g * 10**5:(g + 1) * 10**5] * (1 + g / 10.0) for g in range(10)]
    return [Result("LeveneTest", "10 groups x 10^5",
                   ours(args, "statis_groups_bench", "BM_LeveneTestTenGroups"),
                   "scipy.stats.levene mean", peer(args, lambda gs: scipy.stats.levene(*gs, center="mean"),
                                                   lambda k: groups))]


def row_knn(args):
    # BM_FindNearestNeighborsBatch: 100000 x 10 rows (seed 1), 1000 samples
    # (seed 2), k = 10; the tree built and queried every time.
    x = fill_random(100000 * 10, 1).reshape(-1, 10)
    q = fill_random(1000 * 10, 2).reshape(-1, 10)
    return [Result("FindNearestNeighbors", "1000 samples, 10^5 x 10, k = 10",
                   ours(args, "math2_knn_bench", "BM_FindNearestNeighborsBatch"),
                   "cKDTree build + query", peer(args, lambda d: cKDTree(d[0]).query(d[1], k=10, workers=1),
                                                 lambda k: (x, q)))]


def row_hull(args):
    # BM_Convex2DHull/2000000: 10^6 fresh points per iteration, from seeds 1, 2, ...
    n = 2000000
    return [Result("Convex2DHull", "10^6 points",
                   ours(args, "math2_polygons_bench", "BM_Convex2DHull/%d/manual_time" % n),
                   "scipy.spatial.ConvexHull", peer(args, ConvexHull, lambda k: fill_random(n, k).reshape(-1, 2)))]


ROWS = {name[4:]: fn for name, fn in globals().items() if name.startswith("row_")}


def main():
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("--bin", default=os.path.join(ROOT, "build", "release", "bin"))
    p.add_argument("--repetitions", type=int, default=5)
    p.add_argument("rows", nargs="*", help="rows to run, of: %s (default: all)" % ", ".join(ROWS))
    args = p.parse_args()
    for name in args.rows:
        if name not in ROWS:
            p.error("no row %s" % name)
    print("load average %.2f %.2f %.2f; numpy %s, scipy %s; repetitions %d"
          % (*os.getloadavg(), np.__version__, scipy.__version__, args.repetitions))
    results = [r for name in (args.rows or ROWS) for r in ROWS[name](args)]
    head = ("routine", "size", "ours ms", "peer", "peer ms", "ratio")
    rows = [(r.routine, r.size, "%.2f" % r.ours_ms, r.peer, "%.2f" % r.peer_ms, "%.2f" % (r.ours_ms / r.peer_ms))
            for r in results]
    widths = [max(len(str(c)) for c in col) for col in zip(head, *rows)]
    for line in [head] + rows:
        print(" | ".join(str(c).ljust(w) for c, w in zip(line, widths)))


if __name__ == "__main__":
    main()
