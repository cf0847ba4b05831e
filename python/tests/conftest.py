# SPDX-License-Identifier: MIT
# Shared by the module's tests: orvek-batch of the same build (CTest names it in ORVEK_BATCH), run
# on the same inputs as a call of the module, for comparison.
import os
import subprocess

import pytest


class Batch:
    def __init__(self, program):
        self.program = program

    def run(self, *args):
        """(exit status, stdout, stderr) of orvek-batch ARGS, as bytes."""
        done = subprocess.run([self.program, *map(str, args)], capture_output=True, check=False)
        return done.returncode, done.stdout, done.stderr

    def output(self, *args):
        status, out, err = self.run(*args)
        assert status == 0, err.decode()
        return out

    def refusal(self, *args):
        """The sentence orvek-batch gives when it cannot calculate (exit status 1)."""
        status, out, err = self.run(*args)
        assert status == 1 and out == b"", (status, err)
        return err.decode().removeprefix("orvek-batch: ").rstrip("\n")


@pytest.fixture(scope="session")
def batch():
    program = os.environ.get("ORVEK_BATCH")
    if not program:
        pytest.skip("ORVEK_BATCH (the path of orvek-batch) is not set; CTest sets it")
    return Batch(program)
