"""What the end-to-end modules share: the run of the installed program that a check drives. Each module brings its
own `installation`."""

import pytest

from test_main_window import Program


@pytest.fixture
def program(installation):
    """One run of Tolvan.exe in the module's installation, ended after the check."""
    running = Program(installation)
    yield running
    running.stop()
