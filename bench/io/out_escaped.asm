; Output benchmark: 333,333 lines (333 x 1001) of 256 words that are no printable
; characters, so each line is written as 256 escapes of three characters.
ESC	START
	LAD	GR1,0
	LAD	GR2,0
LOOP	OUT	BUF,LEN
	LAD	GR1,1,GR1
	CPL	GR1,INNER
	JNZ	LOOP
	LAD	GR1,0
	LAD	GR2,1,GR2
	CPL	GR2,OUTER
	JNZ	LOOP
	RET
INNER	DC	1001
OUTER	DC	333
LEN	DC	256
BUF	DS	256
	END
