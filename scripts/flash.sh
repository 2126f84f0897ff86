#!/usr/bin/env bash
# Flashes the board's firmware onto an Arduino Nano or Uno through its
# bootloader: flash.sh FIRMWARE.hex PORT [BAUD]. BAUD is the bootloader's:
# 115200 (optiboot, Uno and newer Nanos) or 57600 (the old Nano bootloader).
# Only the flash is written: the firmware keeps its own EEPROM.
set -uo pipefail

hex=${1:-}
port=${2:-}
baud=${3:-115200}

if [ -z "$port" ]; then
  echo "flash: which port is the board on? For example: make flash PORT=/dev/ttyUSB0" >&2
  present=$(ls /dev/ttyUSB* /dev/ttyACM* 2>/dev/null | tr '\n' ' ')
  [ -n "$present" ] && echo "flash: serial ports present: $present" >&2
  exit 2
fi
if [ ! -f "$hex" ]; then
  echo "flash: no firmware at $hex: build it with make firmware" >&2
  exit 2
fi
case "$baud" in
  ''|*[!0-9]*) echo "flash: FLASH_BAUD must be a number of baud, such as 115200 or 57600, not '$baud'" >&2; exit 2 ;;
esac

if [ ! -e "$port" ]; then
  echo "flash: there is no $port: is the board plugged in?" >&2
  present=$(ls /dev/ttyUSB* /dev/ttyACM* 2>/dev/null | tr '\n' ' ')
  if [ -n "$present" ]; then
    echo "flash: serial ports present: $present" >&2
  else
    echo "flash: no USB serial port is present at all" >&2
  fi
  exit 1
fi
# A program that holds the port (the gauge, through Qt, or a serial monitor)
# leaves a lock file with its process number.
for dir in /var/lock /run/lock /tmp; do
  lock="$dir/LCK..$(basename "$port")"
  if [ -f "$lock" ]; then
    holder=$(head -n 1 "$lock" 2>/dev/null | tr -dc '0-9')
    if [ -n "$holder" ] && kill -0 "$holder" 2>/dev/null; then
      echo "flash: $port is in use by another program (process $holder: the gauge, a serial monitor?): close it first" >&2
      exit 1
    fi
  fi
done
# stty opens the port without waiting for a carrier and tells why it cannot
# (held exclusively, no permission).
if ! problem=$(stty -F "$port" 2>&1 >/dev/null); then
  case "$problem" in
    *"Permission denied"*)
      echo "flash: no permission to open $port: add yourself to the group dialout" \
           "(sudo adduser ${USER:-$(id -un)} dialout) and log in again" >&2 ;;
    *"busy"*)
      echo "flash: $port is in use by another program (the gauge, a serial monitor?): close it first" >&2 ;;
    *)
      echo "flash: cannot open $port: ${problem#stty: }" >&2 ;;
  esac
  exit 1
fi

echo "Flashing $hex onto the board on $port at $baud baud"
if ! avrdude -p atmega328p -c arduino -P "$port" -b "$baud" -D -U "flash:w:$hex:i"; then
  echo "flash: the board's bootloader did not answer on $port at $baud baud." >&2
  if [ "$baud" = 115200 ]; then
    echo "flash: an older Nano's bootloader speaks 57600 baud: make flash PORT=$port FLASH_BAUD=57600" >&2
  else
    echo "flash: a Uno or newer Nano speaks 115200 baud: make flash PORT=$port" >&2
  fi
  exit 1
fi
