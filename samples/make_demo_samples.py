#!/usr/bin/env python3
"""Writes the sample demos in samples/demos: a team deathmatch of the 1.17 generation
(protocol 43, .dm3) and a free-for-all of the 1.27 generation (protocol 48, .dm_48).

Each is a chain of records (sequence, length, message) ending with the sequence -1, with a
game state (server info, system info, music, map message, player strings), snapshots ten
times a second over a few minutes, and the server commands of a match: warmup, game start,
score changes, chat, prints, scoreboards, the end of the game and a final scoreboard. The
output is the same on every run.
"""

import os
import random
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


class Demo:
    def __init__(self, protocol, seed):
        self.protocol = protocol
        self.random = random.Random(seed)
        self.records = bytearray()
        self.sequence = 4711
        self.command = 0
        self.time = 1_200_000

    def header(self):
        # Above 45 every message starts with 4 bytes (the reliable acknowledge).
        return struct.pack("<I", self.command) if self.protocol > 45 else b""

    def record(self, message):
        self.records += struct.pack("<ii", self.sequence, len(message)) + message
        self.sequence += 1

    def game_state(self, config_strings):
        message = self.header() + b"\x02" + struct.pack("<I", self.command)
        for index, text in config_strings:
            message += b"\x03" + struct.pack("<H", index) + text.encode("cp1252") + b"\x00"
        # Entity baselines, then the end of the message.
        message += b"\x04" + bytes(self.random.randrange(256) for _ in range(24)) + b"\x08"
        self.record(message)

    def snapshot(self, commands=()):
        self.time += 100
        message = self.header()
        for text in commands:
            self.command += 1
            message += b"\x05" + struct.pack("<I", self.command) + text.encode("cp1252") + b"\x00"
        message += b"\x07"
        if self.protocol <= 45:
            message += struct.pack("<I", self.sequence - 1)  # the delta number
        message += struct.pack("<I", self.time)
        message += bytes(self.random.randrange(256) for _ in range(self.random.randrange(20, 60)))
        self.record(message)

    def run(self, seconds, events=None):
        """Snapshots for the given seconds; events maps a snapshot number to its commands."""
        events = events or {}
        for tick in range(int(seconds * 10)):
            self.snapshot(events.get(tick, ()))

    def write(self, name):
        path = os.path.join(HERE, "demos", name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as out:
            out.write(bytes(self.records) + struct.pack("<ii", -1, -1))


def info(*items):
    return "".join("\\" + key + "\\" + value for key, value in items)


def player(name, team, model, extra=()):
    return info(("n", name), ("t", str(team)), ("model", model), *extra)[1:]


def scores(protocol, red, blue, entries):
    """entries: client, score, ping, time; 6 numbers each at 45 and below, 14 above 46."""
    fields = [str(len(entries)), str(red), str(blue)]
    for rank, (client, score, ping, time) in enumerate(entries):
        fields += [str(client), str(score), str(ping), str(time), "0", "0"]
        if protocol > 46:
            accuracy = 35 - 3 * rank
            fields += [str(accuracy), str(3 - rank % 3), str(rank % 2), "0", "0", "0", "0", "0"]
    return "scores " + " ".join(fields)


def team_deathmatch():
    demo = Demo(43, 43)
    players = [
        (0, "^1Red^7Baron", 1, "sarge/red"),
        (1, "^4Blue^7Note", 2, "visor/blue"),
        (2, "^3Major^7Tom", 1, "major/red"),
        (4, "^2Grun^7t", 2, "grunt/blue"),
        (5, "^7Watcher", 3, "orbb/red"),
    ]
    demo.game_state([
        (0, info(("sv_hostname", "^3Reelwright ^7Sample TDM"), ("mapname", "q3dm7"),
                 ("protocol", "43"), ("version", "Q3 1.17 win-x86 Apr 22 2000"),
                 ("g_gametype", "3"), ("gamename", "baseq3"), ("timelimit", "10"),
                 ("fraglimit", "0"), ("capturelimit", "8"), ("sv_maxclients", "12"),
                 ("sv_maxRate", "8000"), ("sv_minPing", "0"), ("sv_maxPing", "400"),
                 ("dmflags", "0"), ("g_needpass", "0"))),
        (1, info(("sv_pure", "1"), ("sv_serverid", "1201"), ("timescale", "1"),
                 ("sv_cheats", "0"))),
        (2, "music/sonic5.wav"),
        (3, "Temple of Retribution"),
        (5, "1205000"),
        (6, "0"),
        (7, "0"),
    ] + [(544 + client, player(name, team, model, (("hc", "100"), ("w", "0"), ("l", "0"))))
         for client, name, team, model in players])
    start = 1_205_000
    demo.run(5, {20: ['cs 5 "%d"' % start, 'print "Match starting\n"']})
    demo.run(1, {0: ['cs 13 "%d"' % (demo.time + 100), 'cs 5 ""',
                     'cp "^1FIGHT!\n"']})
    red = blue = 0
    events = {}
    for second in range(0, 170, 7):
        tick = second * 10
        if (second // 7) % 3 == 2:
            blue += 1
            events[tick] = ['cs 7 "%d"' % blue, 'print "^4Blue^7Note fragged ^1Red^7Baron\n"']
        else:
            red += 1
            events[tick] = ['cs 6 "%d"' % red, 'print "^1Red^7Baron fragged ^2Grun^7t\n"']
    events[300] = ['chat "^1Red^7Baron^7: ^2nice one!!"']
    events[610] = ['tchat "(^4Blue^7Note^7): ^5push red base"']
    events[905] = ['cs 9 "map q3dm17"', 'cs 10 "2"', 'cs 11 "3"']
    events[1200] = [scores(43, red, blue, [(0, 9, 40, 2), (2, 5, 60, 2), (1, 4, 80, 2),
                                           (4, 3, 120, 2), (5, 0, 0, 2)])]
    demo.run(172, events)
    demo.run(3, {0: ['print "Timelimit hit.\n"', 'cs 14 "1"'],
                 5: [scores(43, red, blue, [(0, 11, 40, 3), (2, 6, 60, 3), (1, 5, 80, 3),
                                            (4, 4, 120, 3), (5, 0, 0, 3)])]})
    demo.write("sample_tdm.dm3")


def free_for_all():
    demo = Demo(48, 48)
    players = [
        (0, "^1Anarki", "anarki/default", ()),
        (1, "^2Xaero^7!", "xaero/default", ()),
        (2, "^5Hunter", "hunter/default", (("skill", "4.00"),)),
        (3, "^3Doom^7Guy", "doom/red", ()),
    ]
    demo.game_state([
        (0, info(("sv_hostname", "^1Reelwright ^7Sample FFA"), ("mapname", "q3dm17"),
                 ("protocol", "48"), ("version", "Q3 1.27g win-x86 Dec 18 2000"),
                 ("g_gametype", "0"), ("gamename", "baseq3"), ("timelimit", "0"),
                 ("fraglimit", "10"), ("capturelimit", "0"), ("sv_maxclients", "8"),
                 ("sv_maxRate", "10000"), ("sv_minPing", "0"), ("sv_maxPing", "0"),
                 ("dmflags", "0"), ("g_needpass", "0"))),
        (1, info(("sv_pure", "1"), ("sv_serverid", "4812"), ("timescale", "1"),
                 ("fs_game", ""), ("sv_cheats", "0"))),
        (2, "music/fla22k_02.wav"),
        (3, "The Longest Yard"),
        (20, "baseq3-1"),
        (21, "0"),
        (22, "0"),
    ] + [(544 + client, player(name, 0, model, (("hmodel", model), ("hc", "100"), ("w", "0"),
                                                ("l", "0")) + extra))
         for client, name, model, extra in players])
    demo.run(3, {10: ['print "^5Hunter^7 entered the game\n"']})
    demo.run(1, {0: ['cs 21 "%d"' % (demo.time + 100), 'cp "^1FIGHT!\n"']})
    first = second = 0
    events = {}
    for moment in range(4, 150, 8):
        tick = moment * 10
        if first < 10 and (moment // 8) % 3 != 1:
            first += 1
            events[tick] = ['cs 6 "%d"' % first, 'print "^1Anarki^7 railed ^2Xaero^7!\n"']
        elif second < 9:
            second += 1
            events[tick] = ['cs 7 "%d"' % second, 'print "^2Xaero^7! rocketed ^5Hunter\n"']
    events[200] = ['chat "^2Xaero^7!^7: ^3gl hf"']
    events[777] = ['chat "^5Hunter^7: ^1I will find you."']
    events[1000] = [scores(48, 0, 0, [(0, first - 3, 35, 1), (1, second - 2, 50, 1),
                                      (3, 2, 70, 1), (2, 1, 0, 1)])]
    demo.run(150, events)
    demo.run(4, {0: ['print "^1Anarki^7 hit the fraglimit.\n"', 'print "Fraglimit hit.\n"',
                     'cs 22 "1"'],
                 10: ['cs 544 "%s"' % player("^1Anarki", 0, "anarki/default",
                                             (("hmodel", "anarki/default"), ("hc", "100"),
                                              ("w", "1"), ("l", "0")))],
                 12: [scores(48, 0, 0, [(0, first, 35, 2), (1, second, 50, 2), (3, 3, 70, 2),
                                        (2, 1, 0, 2)])]})
    demo.write("sample_ffa.dm_48")


if __name__ == "__main__":
    team_deathmatch()
    free_for_all()
