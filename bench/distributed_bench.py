#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Times fibmod.distributed.scan on LocalClusters of 1 and 2 workers against fibmod.scan.

Scans 2 … 60,000 (--to) with the window's inputs and no term bound:
- fibmod.scan in this process with 1 and with 2 threads;
- fibmod.distributed.scan on LocalCluster(processes=True) with 1 worker of
  one thread and with 2 workers of one thread each, the cluster started and
  warmed up before the clock runs.
Prints the wall times (best of --repeat), the speed-up of 2 workers over 1,
the overhead of 2 workers over 2 threads in one process, and the CPU time
that the scheduler and the client (both in this process) spent meanwhile.
It reports and never fails.

    PYTHONPATH=build/default/python /usr/bin/python3 bench/distributed_bench.py
"""

import argparse
import os
import time

import distributed

import fibmod
import fibmod.distributed


def timed(function, repeat):
    """The best wall time of `repeat` runs, and this process's CPU time in that run."""
    best = None
    for _ in range(repeat):
        cpu = time.process_time()
        wall = time.perf_counter()
        function()
        wall = time.perf_counter() - wall
        cpu = time.process_time() - cpu
        if best is None or wall < best[0]:
            best = (wall, cpu)
    return best


def workers_cpu(client):
    """The CPU seconds the worker processes have used so far, together."""
    return sum(client.run(time.process_time).values())


def on_cluster(workers, last, repeat, columns):
    """The best wall time, this process's CPU time and the workers' CPU time in that run."""
    with distributed.LocalCluster(n_workers=workers, threads_per_worker=1, processes=True,
                                  dashboard_address=None, silence_logs=40) as cluster, \
            distributed.Client(cluster) as client:
        fibmod.distributed.scan(client, 2, 1000, max_terms=None)  # warm up: imports on the workers
        best = None
        for _ in range(repeat):
            before = workers_cpu(client)
            wall, cpu = timed(lambda: fibmod.distributed.scan(client, 2, last, max_terms=None, columns=columns), 1)
            worker_cpu = workers_cpu(client) - before
            if best is None or wall < best[0]:
                best = (wall, cpu, worker_cpu)
        # The cluster's part alone: the chunks computed and their columns
        # gathered and joined, without making the DataFrame's lists of ints.
        gathered = timed(lambda: fibmod.distributed.scan_columns(client, 2, last, max_terms=None, columns=columns),
                         repeat)
        return best + (gathered[0],)


def main():
    parser = argparse.ArgumentParser(description="Times scans on a LocalCluster.")
    parser.add_argument("--to", type=int, default=60_000)
    parser.add_argument("--repeat", type=int, default=3)
    parser.add_argument("--columns", help="only these columns, e.g. modulus,common_count (counts alone)")
    arguments = parser.parse_args()
    last, repeat = arguments.to, arguments.repeat
    columns = arguments.columns.split(",") if arguments.columns else None

    def local(threads):
        return timed(lambda: fibmod.scan(2, last, max_terms=None, threads=threads, columns=columns), repeat)

    def on_core(core):
        """fibmod.scan on one thread pinned to one core (the engine's thread inherits the pin)."""
        cores = os.sched_getaffinity(0)
        os.sched_setaffinity(0, {core})
        try:
            return local(1)[0]
        finally:
            os.sched_setaffinity(0, cores)

    # Cores of a shared machine need not be equally fast: what two workers
    # can reach is set by the two cores together, not by twice the fastest.
    cores = sorted(os.sched_getaffinity(0))[:2]
    per_core = {core: on_core(core) for core in cores}

    before_load = f"{os.getloadavg()[0]:.1f}"
    results = {
        "fibmod.scan, 1 thread": local(1),
        "fibmod.scan, 2 threads": local(2),
        "distributed, 1 worker x 1 thread": on_cluster(1, last, repeat, columns),
        "distributed, 2 workers x 1 thread": on_cluster(2, last, repeat, columns),
    }
    print(f"Scan 2 … {last}, design-time inputs, no term bound, columns {arguments.columns or 'all'} "
          f"(best of {repeat})")
    for name, (wall, cpu, *cluster) in results.items():
        line = f"  {name:36s} {wall:7.2f} s wall   {cpu:6.2f} s CPU in this process"
        if cluster:
            line += f"   {cluster[0]:6.2f} s CPU in the workers   {cluster[1]:6.2f} s wall until gathered"
        print(line)
    one, _, _, one_gathered = results["distributed, 1 worker x 1 thread"]
    two, overhead_cpu, _, two_gathered = results["distributed, 2 workers x 1 thread"]
    threads = results["fibmod.scan, 2 threads"][0]
    print(f"  speed-up of 2 workers over 1:              {one / two:.2f}x "
          f"(until the columns are gathered: {one_gathered / two_gathered:.2f}x)")
    together = 1 / sum(1 / seconds for seconds in per_core.values())
    print("  fibmod.scan on 1 thread pinned to core " +
          ", ".join(f"{core}: {seconds:.2f} s" for core, seconds in per_core.items()) +
          f"; both cores together at best {together:.2f} s, a speed-up of at most "
          f"{min(per_core.values()) / together:.2f}x; 2 workers reach {100 * together / two:.0f} % of that")
    print(f"  2 workers against 2 threads in one process: {100 * (two / threads - 1):+.0f} % wall")
    print(f"  scheduler and client during the 2-worker scan: {overhead_cpu:.2f} s CPU "
          f"({100 * overhead_cpu / two:.0f} % of one core)")
    print(f"  load average before and after: {before_load} / {os.getloadavg()[0]:.1f} "
          f"(other programs on the 2 cores slow every figure)")


if __name__ == "__main__":
    main()
