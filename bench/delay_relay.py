#!/usr/bin/env python3
"""A TCP relay on loopback that holds every chunk DELAY/2 ms each way: a link with a round trip
of DELAY ms and no bandwidth limit of its own, for the benchmarks.

  delay_relay.py LISTEN_PORT TARGET_PORT DELAY_MS

Prints "relaying on 127.0.0.1:PORT" once it listens; bytes keep their order.
"""

import asyncio
import sys
import time


async def pipe(reader, writer, delay):
    queue = asyncio.Queue()

    async def take():
        while True:
            data = await reader.read(256 * 1024)
            await queue.put((time.monotonic() + delay, data))
            if not data:
                return

    async def give():
        while True:
            due, data = await queue.get()
            wait = due - time.monotonic()
            if wait > 0:
                await asyncio.sleep(wait)
            if not data:
                writer.write_eof() if writer.can_write_eof() else writer.close()
                return
            writer.write(data)
            await writer.drain()

    try:
        await asyncio.gather(take(), give())
    except (ConnectionError, OSError):
        pass
    finally:
        writer.close()


async def main():
    listen, target, delay_ms = int(sys.argv[1]), int(sys.argv[2]), float(sys.argv[3])
    one_way = delay_ms / 2000.0

    async def serve(client_reader, client_writer):
        try:
            server_reader, server_writer = await asyncio.open_connection("127.0.0.1", target)
        except OSError:
            client_writer.close()
            return
        await asyncio.gather(pipe(client_reader, server_writer, one_way), pipe(server_reader, client_writer, one_way))

    server = await asyncio.start_server(serve, "127.0.0.1", listen)
    print("relaying on 127.0.0.1:%d" % server.sockets[0].getsockname()[1], flush=True)
    async with server:
        await server.serve_forever()


if __name__ == "__main__":
    asyncio.run(main())
