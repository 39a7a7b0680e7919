"""Damaged copies of a settings file, made from a whole one at offsets found by reading its header, FAT and
directory: the damage that makes a compound file reader loop for ever (a chain or the directory tree that comes
back on itself, a sector size its version does not allow), and a file that opens but lacks its model's
capability block."""

import struct

HEADER_SECTOR_SHIFT = 0x1E
HEADER_FAT_COUNT = 0x2C
HEADER_FIRST_DIRECTORY = 0x30
HEADER_FIRST_DIFAT = 0x44
HEADER_DIFAT = 0x4C
HEADER_DIFAT_ENTRIES = 109

ENTRY_SIZE = 128
ENTRY_NAME_LENGTH = 0x40
ENTRY_CHILD = 0x4C
ENTRY_START = 0x74

END_OF_CHAIN = 0xFFFFFFFE


def u32(data, at):
    return struct.unpack_from("<I", data, at)[0]


class Layout:
    """Where things are in a valid compound file."""

    def __init__(self, data):
        self.data = bytes(data)
        self.sector_size = 1 << struct.unpack_from("<H", data, HEADER_SECTOR_SHIFT)[0]
        self.per_sector = self.sector_size // 4
        count = u32(data, HEADER_FAT_COUNT)
        self.fat_sectors = [u32(data, HEADER_DIFAT + 4 * i) for i in range(min(count, HEADER_DIFAT_ENTRIES))]
        difat = u32(data, HEADER_FIRST_DIFAT)
        while len(self.fat_sectors) < count and difat < END_OF_CHAIN:
            at = self.sector_at(difat)
            listed = [u32(data, at + 4 * i) for i in range(self.per_sector - 1)]
            self.fat_sectors += listed[: count - len(self.fat_sectors)]
            difat = u32(data, at + self.sector_size - 4)

    def sector_at(self, sector):
        return (sector + 1) * self.sector_size

    def fat_entry_at(self, sector):
        return self.sector_at(self.fat_sectors[sector // self.per_sector]) + 4 * (sector % self.per_sector)

    def chain(self, start):
        sectors = []
        while start < END_OF_CHAIN and len(sectors) <= len(self.data) // self.sector_size:
            sectors.append(start)
            start = u32(self.data, self.fat_entry_at(start))
        return sectors

    def entries(self):
        """(offset, name) of every directory entry."""
        found = []
        for sector in self.chain(u32(self.data, HEADER_FIRST_DIRECTORY)):
            for i in range(self.sector_size // ENTRY_SIZE):
                at = self.sector_at(sector) + i * ENTRY_SIZE
                length = struct.unpack_from("<H", self.data, at + ENTRY_NAME_LENGTH)[0]
                name = self.data[at : at + max(length - 2, 0)].decode("utf-16-le", "replace")
                found.append((at, name))
        return found

    def entry(self, name):
        for index, (at, found) in enumerate(self.entries()):
            if found == name:
                return index, at
        raise KeyError(name)


def fat_cycle(data):
    """The mini stream's chain (the root entry's) links its last sector back to its first."""
    layout = Layout(data)
    chain = layout.chain(u32(data, layout.entries()[0][0] + ENTRY_START))
    out = bytearray(data)
    struct.pack_into("<I", out, layout.fat_entry_at(chain[-1]), chain[0])
    return bytes(out)


def directory_cycle(data, model):
    """The "Setting" storage holds its own model storage."""
    layout = Layout(data)
    model_index, _ = layout.entry(model)
    _, setting = layout.entry("Setting")
    out = bytearray(data)
    struct.pack_into("<I", out, setting + ENTRY_CHILD, model_index)
    return bytes(out)


def wrong_sector_size(data):
    """4096-byte sectors claimed by a version 3 file, or 512-byte ones by a version 4 file."""
    out = bytearray(data)
    shift = struct.unpack_from("<H", data, HEADER_SECTOR_SHIFT)[0]
    struct.pack_into("<H", out, HEADER_SECTOR_SHIFT, 9 if shift == 12 else 12)
    return bytes(out)


def without_spec_info(data):
    """A whole compound file whose model has no "SpecInfo": the entry is renamed, keeping its place in the
    directory's order."""
    layout = Layout(data)
    _, at = layout.entry("SpecInfo")
    out = bytearray(data)
    out[at : at + 16] = "SpecInfX".encode("utf-16-le")
    return bytes(out)


def damages(model):
    """The damage the checks apply to a whole settings file of the model, by name: functions of its bytes."""
    return {
        "FAT cycle": fat_cycle,
        "directory cycle": lambda data: directory_cycle(data, model),
        "wrong sector size": wrong_sector_size,
        "zero bytes": lambda data: b"",
        "missing SpecInfo": without_spec_info,
    }
