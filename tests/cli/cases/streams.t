Closed standard streams: whatever vantor-pak opens later must never take

Not on Windows: closed standard streams (>&-) reach a Windows program as invalid handles through Wine, not as closed descriptors.
their place, so nothing meant for the terminal lands in the pak. With
output closed the commands still succeed (their output goes nowhere) and
the pak keeps every byte.

  $ cp base.pak before.pak
  $ vantor-pak info base.pak >&-
  $ vantor-pak list -l base.pak >&-
  $ vantor-pak cat base.pak autoexec.cfg >&-
  $ vantor-pak extract -C out base.pak >&- 2>&- && cat out/autoexec.cfg
  exec quake.rc
  $ cmp base.pak before.pak && echo unchanged
  unchanged

A change with standard error closed: the failure's message is lost, not
written into the pak, and the item that works is added as usual.

  $ vantor-pak add base.pak missing.txt 2>&-
  [1]
  $ cmp base.pak before.pak && echo unchanged
  unchanged
  $ printf 'new\n' > new.txt && vantor-pak add base.pak new.txt missing.txt 2>&- <&-
  [1]
  $ vantor-pak check base.pak && vantor-pak cat base.pak new.txt
  unused: 0
  new
