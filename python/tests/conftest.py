import os
import pathlib

import pytest

SAMPLES = pathlib.Path(os.environ.get("KORMAN_SAMPLES", pathlib.Path(__file__).parents[2] / "samples"))
SCORES = pathlib.Path(os.environ.get("KORMAN_SCORES", pathlib.Path(__file__).parents[3] / "shared/testdata/musicxml"))
EXAMPLES = pathlib.Path(os.environ.get("KORMAN_EXAMPLES", pathlib.Path(__file__).parents[2] / "examples/python"))


@pytest.fixture
def chorale():
    """A four-part chorale with lyrics, made by others."""
    path = SCORES / "bach" / "bwv10.7.mxl"
    if not path.exists():
        pytest.skip(f"{path} is not there")
    return path


@pytest.fixture
def any_chorale():
    """That chorale, or the bundled one where the chorales of others are not at hand."""
    path = SCORES / "bach" / "bwv10.7.mxl"
    return path if path.exists() else SAMPLES / "morning-chorale.musicxml"
