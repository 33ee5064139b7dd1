#!/usr/bin/env python3
"""Runs a command in a network and mount namespace of its own, where the
station directory's host names resolve to 127.0.0.1 and only the loopback
interface exists: the end-to-end tests of the search window reach their
test directory on port 80 there, and nothing leaves the machine.

    netns.py [--host NAME]... -- COMMAND [ARG]...

The outer run starts itself again through unshare(1) (new network and mount
namespaces; a user namespace too when not run as root). The inner run
refuses to change any mount unless its namespaces differ from the outer
run's, so that the bind mount over /etc/hosts can never reach the machine's
own file. Inside it also lays a scratch overlay over the Wine prefix: Wine
programs there talk to a wineserver of their own, started in the namespace
(a wineserver outside would own their sockets, in the outer network), and
nothing they write to the prefix outlives the run. The display and the
sound server of the test session are reached through their socket files.
Exit code: the command's, or 2 when the namespace cannot be made safely.
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import wineapp  # noqa: E402

DIRECTORY_HOSTS = ("www.shoutcast.com", "yp.shoutcast.com")


def fail(message):
    print("netns.py: " + message, file=sys.stderr)
    return 2


def namespaces(pid):
    """The network and mount namespaces of a process, or None if unreadable."""
    try:
        return tuple(os.readlink("/proc/%s/ns/%s" % (pid, kind)) for kind in ("net", "mnt"))
    except OSError:
        return None


def outer(args):
    unshare = shutil.which("unshare")
    if not unshare:
        return fail("unshare(1) is missing (util-linux)")
    command = [unshare, "--net", "--mount", "--propagation", "private", "--fork", "--kill-child"]
    if os.geteuid() != 0:
        command.append("--map-root-user")
    hosts = sum((["--host", h] for h in args.host), [])
    # The scratch directory is made and removed out here, where nothing is
    # ever mounted on it: a removal inside could walk into a bound directory.
    scratch = tempfile.mkdtemp(prefix="velmorin-netns-")
    try:
        command += [sys.executable, os.path.abspath(__file__), "--inside", str(os.getpid()),
                    "--scratch", scratch] + hosts + ["--"]
        return subprocess.call(command + args.command)
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


def inside(args):
    mine, theirs = namespaces("self"), namespaces(args.inside)
    if mine is None or theirs is None:
        return fail("cannot read the namespaces to compare; no mount is made")
    if mine[0] == theirs[0] or mine[1] == theirs[1]:
        return fail("not in namespaces of its own (net %s, mnt %s); no mount is made" % mine)
    run = lambda *c: subprocess.run(list(c), check=True, stdin=subprocess.DEVNULL)  # noqa: E731
    scratch = args.scratch
    run("mount", "--make-rprivate", "/")
    run("ip", "link", "set", "lo", "up")
    hosts = os.path.join(scratch, "hosts")
    with open(hosts, "w") as f:
        f.write("127.0.0.1 localhost\n::1 localhost\n")
        f.write("127.0.0.1 %s\n" % " ".join(args.host))
    run("mount", "--bind", hosts, "/etc/hosts")
    prefix = wineapp.session_env()["WINEPREFIX"]
    if os.path.isdir(prefix):
        # The session's sockets live in the prefix; through an overlay they
        # would refuse every connection, so their directory is bound back
        # over it.
        session = os.path.join(prefix, "velmorin-session")
        kept = os.path.join(scratch, "session")
        if os.path.isdir(session):
            os.mkdir(kept)
            run("mount", "--bind", session, kept)
        upper, work = os.path.join(scratch, "upper"), os.path.join(scratch, "work")
        os.mkdir(upper)
        os.mkdir(work)
        run("mount", "-t", "overlay", "overlay", "-o",
            "lowerdir=%s,upperdir=%s,workdir=%s" % (prefix, upper, work), prefix)
        if os.path.isdir(kept):
            run("mount", "--bind", kept, session)
    # The namespace's wineserver, warm before the first test program starts,
    # as the session's is outside.
    quiet = dict(stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wine_env = wineapp.session_env()
    subprocess.run(["wineserver", "-p"], env=wine_env, **quiet)
    subprocess.run(["wine", "wineboot", "-i"], env=wine_env, **quiet)
    env = dict(os.environ, VELMORIN_NETNS="1")
    try:
        return subprocess.call(args.command, env=env)
    finally:
        # The namespace's own wineserver and everything it runs; the mounts
        # go with the namespace.
        subprocess.run(["wineserver", "-k"], env=wine_env, **quiet)


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--inside", metavar="OUTER_PID", help=argparse.SUPPRESS)
    ap.add_argument("--scratch", help=argparse.SUPPRESS)
    ap.add_argument("--host", action="append", default=None,
                    help="a name that resolves to 127.0.0.1 (default: the directory's two hosts)")
    ap.add_argument("command", nargs=argparse.REMAINDER)
    args = ap.parse_args()
    if args.command and args.command[0] == "--":
        args.command = args.command[1:]
    if not args.command:
        ap.error("no command")
    args.host = args.host or list(DIRECTORY_HOSTS)
    if args.inside:
        return inside(args) if args.scratch else fail("no scratch directory")
    return outer(args)


if __name__ == "__main__":
    sys.exit(main())
